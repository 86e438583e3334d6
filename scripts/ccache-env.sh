# Sourced by the scripts that build: where ccache is installed (a developer's machine), builds
# reuse earlier compilations, also those of another clone, since paths are hashed relative to the
# repository. Without ccache nothing changes. Expects the repository root as working folder.
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi

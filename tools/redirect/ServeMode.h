#pragma once
// `velmora_redirect --serve DIR [--port N]`: the folder server without a window, for the
// browser tests. Prints its base URL as the first line on stdout and runs until killed or
// until its standard input closes.
#include <QStringList>

namespace qx::redirect {

// The exit code: 0 after a normal end, 1 when the server cannot start, 2 on a usage error.
int runServeMode(const QStringList& arguments);

}  // namespace qx::redirect

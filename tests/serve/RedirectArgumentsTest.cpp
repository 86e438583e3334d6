// velmora_redirect's --help and --version, asked where there is no display at all: a script or
// a package check must get an answer, not an abort from the window system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "common/Environment.h"
#include "common/RunProgram.h"

namespace {

// The variable's value for the test's length, put back afterwards.
class Unset {
 public:
  explicit Unset(const char* name) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v;
    unsetEnvironment(name_);
  }
  ~Unset() {
    if (old_) setEnvironment(name_, *old_);
  }
  Unset(const Unset&) = delete;
  Unset& operator=(const Unset&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace

TEST(RedirectArguments, HelpAndVersionNeedNoDisplay) {
  const Unset display("DISPLAY"), wayland("WAYLAND_DISPLAY"), platform("QT_QPA_PLATFORM");
  RunResult r = runProgram(QX_REDIRECT, {"--version"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("velmora_redirect ")) << r.out;
  EXPECT_EQ(r.err, "");
  for (const char* help : {"--help", "-h"}) {
    r = runProgram(QX_REDIRECT, {help});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Usage: velmora_redirect [PAGE.html]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("--serve DIR"), std::string::npos);
  }
}

#include "Interrupt.h"

#include <csignal>

namespace qx::cli {
namespace {

extern "C" void onInterrupt(int) {
  interruptFlag() = true;
}

}  // namespace

std::atomic<bool>& interruptFlag() {
  static std::atomic<bool> flag{false};
  return flag;
}

StopOnInterrupt::StopOnInterrupt()
    : previousInt_(std::signal(SIGINT, onInterrupt)),
      previousTerm_(std::signal(SIGTERM, onInterrupt)) {}

StopOnInterrupt::~StopOnInterrupt() {
  std::signal(SIGINT, previousInt_);
  std::signal(SIGTERM, previousTerm_);
}

}  // namespace qx::cli

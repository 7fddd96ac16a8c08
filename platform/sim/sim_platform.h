// The simulated back end: every platform service over the in-memory world, tracing each call
// that reaches outside the program.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/sim/world.h"

namespace padwire::sim {

class SimPlatform {
 public:
  explicit SimPlatform(SimWorld& world);
  ~SimPlatform();
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  Platform& platform() { return *platform_; }
  SimWorld& world() { return world_; }

 private:
  struct Services;
  SimWorld& world_;
  std::unique_ptr<Services> services_;
  std::unique_ptr<Platform> platform_;
};

// The command line the emulator's installation recorded in the world's registry, as a reader with
// the Windows program's buffer finds it; empty when none is recorded or it does not fit.
std::string recorded_emulator(const SimWorld& world);

}  // namespace padwire::sim

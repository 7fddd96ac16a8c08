// The simulated back end: every platform service over the in-memory world, tracing each call
// that reaches outside the program.
#pragma once

#include <memory>

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

}  // namespace padwire::sim

// The headless backend's factory (used by the test driver).
#pragma once

#include <memory>

#include "framework/backend.h"

namespace headless {

class Driver;

std::unique_ptr<framework::Backend> CreateHeadlessBackend(Driver& driver);

}  // namespace headless

#pragma once

#include "app/devices.h"

// The devices as this program was linked with them: in the module, and in
// the tests and the bench, which link them directly.
Devices linkedDevices();

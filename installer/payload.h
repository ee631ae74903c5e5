// The application the installer carries: a complete executable file in
// the byte-array form, placed in the image's read-only data by the build.
#pragma once
#include "runtime/services.h"

extern "C" const ByteArray Payload;

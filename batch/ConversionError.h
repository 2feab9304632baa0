#pragma once

// The conversion error is the platform's; batch code has always included it from here.
#include "platform/ConversionError.h"

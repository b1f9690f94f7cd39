// The earlier name of the testing header, still included by the window's tests.
#pragma once

#include "zelk_testing.h"

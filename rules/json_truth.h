// How a scan-document value such as "bDHCP" reads as a boolean.
#pragma once

#include <json/value.h>

// A boolean counts with its own value, a number when it is not zero, a
// string, array or object when it is not empty; null is false.
bool jsonTruth(const Json::Value& value);

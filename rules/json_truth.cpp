#include "json_truth.h"

bool jsonTruth(const Json::Value& value) {
    switch (value.type()) {
    case Json::nullValue:
        return false;
    case Json::intValue:
        return value.asLargestInt() != 0;
    case Json::uintValue:
        return value.asLargestUInt() != 0;
    case Json::realValue:
        return value.asDouble() != 0.0;
    case Json::stringValue:
        return !value.asString().empty();
    case Json::booleanValue:
        return value.asBool();
    case Json::arrayValue:
    case Json::objectValue:
        return !value.empty();
    }
    return false;
}

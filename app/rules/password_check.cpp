#include "password_check.h"

#include "text.h"

namespace rules {

bool passwordMatches(std::u16string_view typed, std::string_view reported) {
    return typed == zelk::widenText(reported);
}

}  // namespace rules

#pragma once

#include "platform/Variant.h"

#include <QString>

// The text ShowServerErrors shows for an error payload: every text element from the lower
// to the upper bound followed by CR LF; a payload that is no array, or the first element
// that is not text, ends the list with "未知错误！" and CR LF; then the last two characters
// are dropped. Never raises.
QString serverErrorText(const platform::Variant& payload);

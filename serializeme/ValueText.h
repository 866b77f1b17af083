#pragma once

#include "serializeme/StorageBuffer.h"

#include <cstdint>
#include <string>

namespace sme {

// The texts of scalar values in XML files. Numbers are written and read the same whatever the
// process locale: a decimal point, never a comma.
class ValueText {
public:
    // At most 6 significant digits, trailing zeros dropped, exponent form when the decimal
    // exponent is below -4 or at least 6 ("0.6", "1024", "1e+06", "1e-05").
    static std::string FormatFloat(float value);
    static std::string FormatUInt(uint32_t value);
    static std::string FormatInt(int32_t value);
    static const char* FormatBool(bool value);
    // The names of the flags whose mask shares a bit with the value, in table order, separated
    // by one space; "" when none.
    static std::string FormatFlags(uint32_t value, const FlagName* names, int count);

    // The leading number of the text (white space skipped first), 0 when there is none.
    static float ParseFloat(const char* text);
    // The leading unsigned number of the text (white space skipped first); false when there is
    // none or it does not fit, leaving the value unchanged. A minus sign wraps the magnitude
    // round, as unsigned stream extraction does ("-1" gives 4294967295).
    static bool ParseUInt(const char* text, uint32_t& value);
    // The leading signed number of the text; false when there is none or it does not fit.
    static bool ParseInt(const char* text, int32_t& value);
    // True for "true" in any letter case and for a leading whole number of 1 or more.
    static bool ParseBool(const char* text);
    // 0 with the mask of every flag whose name occurs anywhere in the text ORed in.
    static uint32_t ParseFlags(const char* text, const FlagName* names, int count);

    // Whether two texts are equal when ASCII letters are compared without regard to case.
    static bool EqualsIgnoringCase(const char* a, const char* b);
};

}  // namespace sme

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "checker/ICheck.h"

// The New, Updated and Construction banners: those whose expiry (the
// object's stamp and expire days, the rule loading applies) has passed at
// the checked moment, and those that expire within the days given.
class CBannerCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;

    // A moment as the date it falls on (UTC), "YYYY-MM-DD".
    static std::string FormatDate(int64_t moment);
    // "YYYY-MM-DD" as the first moment of that day (UTC); none when the text
    // is not such a date.
    static std::optional<int64_t> ParseDate(std::string_view text);
};

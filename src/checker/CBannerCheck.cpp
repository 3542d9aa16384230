#include "checker/CBannerCheck.h"

#include <chrono>
#include <cstdio>
#include <utility>

#include "checker/CCheckContext.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"

namespace {

constexpr int64_t kDay = 86400;

CString BannerNames(const CDocInfo& info)
{
    CString names;
    for (const auto& [bSet, pszName] : { std::pair { info.m_bNew, "New" },
             std::pair { info.m_bUpdated, "Updated" }, std::pair { info.m_bConstruction, "Construction" } }) {
        if (bSet == 0)
            continue;
        if (!names.empty())
            names += ", ";
        names += pszName;
    }
    return names;
}

} // namespace

std::string CBannerCheck::FormatDate(int64_t moment)
{
    using namespace std::chrono;
    const auto day = floor<days>(sys_seconds(seconds(moment)));
    const year_month_day date(day);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return buffer;
}

std::optional<int64_t> CBannerCheck::ParseDate(std::string_view text)
{
    using namespace std::chrono;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int parts[3] = {};
    const std::pair<size_t, size_t> fields[3] = { { 0, 4 }, { 5, 2 }, { 8, 2 } };
    for (size_t i = 0; i < 3; ++i) {
        for (size_t k = fields[i].first; k < fields[i].first + fields[i].second; ++k) {
            if (text[k] < '0' || text[k] > '9')
                return std::nullopt;
            parts[i] = parts[i] * 10 + (text[k] - '0');
        }
    }
    const year_month_day date { year(parts[0]), month(static_cast<unsigned>(parts[1])),
        day(static_cast<unsigned>(parts[2])) };
    if (!date.ok())
        return std::nullopt;
    return sys_days(date).time_since_epoch().count() * kDay;
}

void CBannerCheck::Run(CCheckContext& context)
{
    const int64_t asOf = context.GetOptions().asOf;
    const int64_t soon = static_cast<int64_t>(context.GetOptions().nSoonDays) * kDay;
    for (HTREEITEM h = context.GetTree().GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const CNode& node = *h->GetNode();
        const CString banners = BannerNames(node.m_info);
        const std::optional<int64_t> expiry = node.GetBannerExpiry();
        if (banners.empty() || !expiry)
            continue;
        const CString date = FormatDate(*expiry);
        if (asOf > *expiry) {
            context.Add(ESeverity::Warning, h, "the " + banners + " banner expired on " + date,
                "the page still shows it until the project is loaded again: clear it, or tick it again in "
                "the "
                "object's properties to show it for another period");
        } else if (*expiry - asOf <= soon) {
            context.Add(ESeverity::Warning, h,
                "the " + banners + " banner expires on " + date + ", within "
                    + std::to_string(context.GetOptions().nSoonDays) + " days",
                "tick it again in the object's properties to keep it, or let it go");
        }
    }
}

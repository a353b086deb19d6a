#include "tajweed/TajweedLegend.h"

namespace {

constexpr std::uint32_t NotPronounced = 0x8C8C8C;
constexpr std::uint32_t Nasal = 0x2E9D44;
constexpr std::uint32_t Hidden = 0x849A0A;
constexpr std::uint32_t Turned = 0x009C9C;
constexpr std::uint32_t Echo = 0x1E88E5;
constexpr std::uint32_t MaddSix = 0xD02670;
constexpr std::uint32_t MaddFourFive = 0xE86A10;
constexpr std::uint32_t MaddAtStop = 0xB8860B;
constexpr std::uint32_t MaddTwo = 0x9E7B4F;

constexpr std::array<TajweedLegendEntry, TajweedRuleCount> Entries = {{
    {TajweedRule::Ghunnah, Nasal, u"غنّه", u"إِنَّ"},
    {TajweedRule::Ikhfa, Hidden, u"اخفاء", u"أَنفُسَهُمۡ"},
    {TajweedRule::IkhfaShafawi, Hidden, u"اخفای شفوی", u"تَرۡمِيهِم بِحِجَارَةٖ"},
    {TajweedRule::IdghamGhunnah, Nasal, u"ادغام با غنّه", u"مَن يَقُولُ"},
    {TajweedRule::IdghamNoGhunnah, NotPronounced, u"ادغام بدون غنّه", u"مِّن رَّبِّهِمۡ"},
    {TajweedRule::IdghamShafawi, Nasal, u"ادغام شفوی", u"لَهُم مَّا"},
    {TajweedRule::IdghamMutajanisayn, NotPronounced, u"ادغام متجانسین", u"قَد تَّبَيَّنَ"},
    {TajweedRule::IdghamMutaqaribayn, NotPronounced, u"ادغام متقاربین", u"نَخۡلُقكُّم"},
    {TajweedRule::Iqlab, Turned, u"اقلاب", u"مِنۢ بَعۡدِ"},
    {TajweedRule::Qalqalah, Echo, u"قلقله", u"يَقۡطَعُونَ"},
    {TajweedRule::Madd2, MaddTwo, u"مدّ طبیعی (۲ حرکت)", u"مَٰلِكِ"},
    {TajweedRule::Madd246, MaddAtStop, u"مدّ عارض (۲، ۴ یا ۶ حرکت)", u"ٱلرَّحِيمِ"},
    {TajweedRule::MaddMuttasil, MaddFourFive, u"مدّ متّصل (۴ یا ۵ حرکت)", u"ٱلسَّمَآءِ"},
    {TajweedRule::MaddMunfasil, MaddFourFive, u"مدّ منفصل (۴ یا ۵ حرکت)", u"بِمَآ أُنزِلَ"},
    {TajweedRule::Madd6, MaddSix, u"مدّ لازم (۶ حرکت)", u"ٱلضَّآلِّينَ"},
    {TajweedRule::HamzatWasl, NotPronounced, u"همزهٔ وصل", u"ٱهۡدِنَا"},
    {TajweedRule::LamShamsiyyah, NotPronounced, u"لام شمسی", u"ٱلشَّمۡسِ"},
    {TajweedRule::Silent, NotPronounced, u"حرف خوانده‌نشده", u"قَالُواْ"},
}};

} // namespace

const std::array<TajweedLegendEntry, TajweedRuleCount>& TajweedLegend() {
    return Entries;
}

const TajweedLegendEntry& TajweedLegendOf(TajweedRule rule) {
    return Entries.at(size_t(rule));
}

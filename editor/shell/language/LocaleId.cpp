#include "LocaleId.h"

#include <cstdlib>
#include <string>

namespace
{

struct TLocaleNumber {
    const char *Name; // "ll_CC", or "ll" for a language's default
    int32_t Id;
};

// Windows locale numbers: the primary language in bits 0-9, the country in bits 10-15.
constexpr TLocaleNumber LocaleNumbers[] = {
    {"af_ZA", 1078},  {"ar_SA", 1025},       {"ar_EG", 3073},  {"ar_AE", 14337}, {"ar", 1025},
    {"az_AZ", 1068},  {"be_BY", 1059},       {"bg_BG", 1026},  {"bn_BD", 2117},  {"bn_IN", 1093},
    {"bn", 2117},     {"ca_ES", 1027},       {"cs_CZ", 1029},  {"cy_GB", 1106},  {"da_DK", 1030},
    {"de_DE", 1031},  {"de_CH", 2055},       {"de_AT", 3079},  {"de_LU", 4103},  {"de_LI", 5127},
    {"de", 1031},     {"el_GR", 1032},       {"en_US", 1033},  {"en_GB", 2057},  {"en_AU", 3081},
    {"en_CA", 4105},  {"en_NZ", 5129},       {"en_IE", 6153},  {"en_ZA", 7177},  {"en_IN", 16393},
    {"en_SG", 18441}, {"en", 1033},          {"es_ES", 3082},  {"es_MX", 2058},  {"es_CO", 9226},
    {"es_AR", 11274}, {"es_CL", 13322},      {"es_US", 21514}, {"es", 3082},     {"et_EE", 1061},
    {"eu_ES", 1069},  {"fa_IR", 1065},       {"fi_FI", 1035},  {"fo_FO", 1080},  {"fr_FR", 1036},
    {"fr_BE", 2060},  {"fr_CA", 3084},       {"fr_CH", 4108},  {"fr_LU", 5132},  {"fr", 1036},
    {"ga_IE", 2108},  {"gl_ES", 1110},       {"he_IL", 1037},  {"hi_IN", 1081},  {"hr_HR", 1050},
    {"hu_HU", 1038},  {"hy_AM", 1067},       {"id_ID", 1057},  {"is_IS", 1039},  {"it_IT", 1040},
    {"it_CH", 2064},  {"it", 1040},          {"ja_JP", 1041},  {"ja", 1041},     {"ka_GE", 1079},
    {"kk_KZ", 1087},  {"km_KH", 1107},       {"ko_KR", 1042},  {"ko", 1042},     {"lt_LT", 1063},
    {"lv_LV", 1062},  {"mk_MK", 1071},       {"mn_MN", 1104},  {"ms_MY", 1086},  {"nb_NO", 1044},
    {"nl_NL", 1043},  {"nl_BE", 2067},       {"nl", 1043},     {"nn_NO", 2068},  {"no_NO", 1044},
    {"pl_PL", 1045},  {"pt_BR", 1046},       {"pt_PT", 2070},  {"pt", 2070},     {"ro_RO", 1048},
    {"ru_RU", 1049},  {"ru", 1049},          {"sk_SK", 1051},  {"sl_SI", 1060},  {"sq_AL", 1052},
    {"sr_RS", 10266}, {"sr_RS@latin", 9242}, {"sv_SE", 1053},  {"sv_FI", 2077},  {"sv", 1053},
    {"sw_KE", 1089},  {"ta_IN", 1097},       {"th_TH", 1054},  {"tr_TR", 1055},  {"uk_UA", 1058},
    {"ur_PK", 1056},  {"uz_UZ", 1091},       {"vi_VN", 1066},  {"zh_CN", 2052},  {"zh_TW", 1028},
    {"zh_HK", 3076},  {"zh_SG", 4100},       {"zh_MO", 5124},  {"zh", 2052},
};

int32_t Lookup(const std::string &name)
{
    for (const TLocaleNumber &entry : LocaleNumbers) {
        if (name == entry.Name)
            return entry.Id;
    }
    return 0;
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

int32_t LocaleIdFromName(std::string_view name)
{
    // language[_COUNTRY][.codeset][@modifier]; some systems write "ja-JP".
    std::string modifier;
    if (const size_t at = name.find('@'); at != std::string_view::npos) {
        modifier = std::string(name.substr(at));
        name = name.substr(0, at);
    }
    if (const size_t dot = name.find('.'); dot != std::string_view::npos)
        name = name.substr(0, dot);
    if (name.empty() || name == "C" || name == "POSIX")
        return 1033;

    std::string language;
    std::string country;
    const size_t separator = name.find_first_of("_-");
    for (char c : name.substr(0, separator))
        language += Lower(c);
    if (separator != std::string_view::npos) {
        for (char c : name.substr(separator + 1))
            country += Upper(c);
    }

    if (!country.empty()) {
        const std::string full = language + "_" + country;
        if (!modifier.empty()) {
            if (const int32_t id = Lookup(full + modifier))
                return id;
        }
        if (const int32_t id = Lookup(full))
            return id;
    }
    if (const int32_t id = Lookup(language))
        return id;
    // A language with a single country in the table: take that one.
    int32_t onlyId = 0;
    int matches = 0;
    const std::string prefix = language + "_";
    for (const TLocaleNumber &entry : LocaleNumbers) {
        if (std::string_view(entry.Name).substr(0, prefix.size()) == prefix &&
            std::string_view(entry.Name).find('@') == std::string_view::npos) {
            onlyId = entry.Id;
            ++matches;
        }
    }
    if (matches == 1)
        return onlyId;
    return LocaleCustomUnspecified;
}

int32_t SystemLocaleId()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return LocaleIdFromName(value);
    }
    return 1033;
}

std::string LocaleNameFromId(int32_t id)
{
    // The table lists a language's countries before the language alone.
    for (const TLocaleNumber &entry : LocaleNumbers)
        if (entry.Id == id)
            return entry.Name;
    return std::string();
}

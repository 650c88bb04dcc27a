#include "editor/shell/language/LocaleId.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(LocaleId, CommonLocales)
{
    EXPECT_EQ(LocaleIdFromName("ja_JP"), 1041);
    EXPECT_EQ(LocaleIdFromName("ja_JP.UTF-8"), 1041);
    EXPECT_EQ(LocaleIdFromName("ja_JP.eucJP"), 1041);
    EXPECT_EQ(LocaleIdFromName("en_US.UTF-8"), 1033);
    EXPECT_EQ(LocaleIdFromName("en_GB.UTF-8"), 2057);
    EXPECT_EQ(LocaleIdFromName("de_DE.UTF-8@euro"), 1031);
    EXPECT_EQ(LocaleIdFromName("de_AT"), 3079);
    EXPECT_EQ(LocaleIdFromName("fr_CA"), 3084);
    EXPECT_EQ(LocaleIdFromName("es_ES"), 3082);
    EXPECT_EQ(LocaleIdFromName("pt_BR"), 1046);
    EXPECT_EQ(LocaleIdFromName("zh_CN.GB18030"), 2052);
    EXPECT_EQ(LocaleIdFromName("zh_TW.Big5"), 1028);
    EXPECT_EQ(LocaleIdFromName("ko_KR.EUC-KR"), 1042);
    EXPECT_EQ(LocaleIdFromName("ru_RU"), 1049);
    EXPECT_EQ(LocaleIdFromName("sr_RS"), 10266);
    EXPECT_EQ(LocaleIdFromName("sr_RS@latin"), 9242);
}

TEST(LocaleId, SpellingsAndFallbacks)
{
    EXPECT_EQ(LocaleIdFromName("C"), 1033);
    EXPECT_EQ(LocaleIdFromName("POSIX"), 1033);
    EXPECT_EQ(LocaleIdFromName("C.UTF-8"), 1033);
    EXPECT_EQ(LocaleIdFromName("ja-JP"), 1041);
    EXPECT_EQ(LocaleIdFromName("JA_jp"), 1041);
    EXPECT_EQ(LocaleIdFromName("ja"), 1041);
    EXPECT_EQ(LocaleIdFromName("en_ZW"), 1033); // a country not listed: the language's default
    EXPECT_EQ(LocaleIdFromName("pl"), 1045);    // the language's only listed country
    EXPECT_EQ(LocaleIdFromName("tlh_QO"), LocaleCustomUnspecified);
}

TEST(LocaleId, EnvironmentPrecedence)
{
    const auto keep = [](const char *name) {
        const char *v = std::getenv(name);
        return std::pair<const char *, std::optional<std::string>>(
            name, v ? std::optional<std::string>(v) : std::nullopt);
    };
    const auto saved = {keep("LC_ALL"), keep("LC_MESSAGES"), keep("LANG")};

    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(SystemLocaleId(), 1041); // an empty LC_ALL does not count
    setenv("LC_ALL", "fr_FR.UTF-8", 1);
    EXPECT_EQ(SystemLocaleId(), 1036);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(SystemLocaleId(), 1031);
    unsetenv("LANG");
    EXPECT_EQ(SystemLocaleId(), 1033);

    for (const auto &[name, value] : saved) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
}

#include "PrivacyPolicy.h"

#include "CorePrinters.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace corvane;
using PrivacyPolicy::Verdict;

namespace {

TEST(PrivacyPolicyProtectedApps, FixedOrderAndLowerCaseIdentities)
{
    QStringList names;
    for (const auto &app : PrivacyPolicy::protectedApps()) {
        names << app.name;
        for (const QString &id : app.bundleIDs)
            EXPECT_EQ(id, id.toLower()) << app.name.toStdString(); // lookups lower-case only the input
    }
    EXPECT_EQ(names,
              (QStringList{"1Password", "Bitwarden", "KeePassXC", "KeePass", "Proton Pass", "Enpass", "NordPass",
                           "Passwords and Keys", "KWalletManager", "Secrets", "Password Safe", "QtPass"}));
    EXPECT_EQ(
        QSet<PrivacyPolicy::ProtectedApp>(PrivacyPolicy::protectedApps().begin(), PrivacyPolicy::protectedApps().end()).size(),
        PrivacyPolicy::protectedApps().size());
}

TEST(PrivacyPolicyProtectedApps, BundleIDsAndNames)
{
    EXPECT_TRUE(PrivacyPolicy::isProtectedBundleID(QStringLiteral("org.keepassxc.KeePassXC")));
    EXPECT_TRUE(PrivacyPolicy::isProtectedBundleID(QStringLiteral("1Password")));
    EXPECT_TRUE(PrivacyPolicy::isProtectedBundleID(QStringLiteral("com.bitwarden.desktop")));
    EXPECT_FALSE(PrivacyPolicy::isProtectedBundleID(QStringLiteral("org.kde.kate")));
    EXPECT_FALSE(PrivacyPolicy::isProtectedBundleID(QStringLiteral("keepassxc-helper")));
    EXPECT_FALSE(PrivacyPolicy::isProtectedBundleID(std::nullopt));

    EXPECT_TRUE(PrivacyPolicy::hasSensitiveName(QStringLiteral("My PASSWORDS")));
    EXPECT_TRUE(PrivacyPolicy::hasSensitiveName(QStringLiteral("Keychain Access")));
    EXPECT_TRUE(PrivacyPolicy::hasSensitiveName(QStringLiteral("HashiCorp Vault UI")));
    EXPECT_FALSE(PrivacyPolicy::hasSensitiveName(QStringLiteral("Firefox")));
    EXPECT_FALSE(PrivacyPolicy::hasSensitiveName(std::nullopt));
}

struct VerdictCase {
    const char *name;
    QStringList formats;
    std::optional<QString> appName;
    std::optional<QString> bundleID;
    bool secureInput;
    QStringList exclusions;
    QStringList overrides;
    Verdict verdict;
};

void PrintTo(const VerdictCase &c, std::ostream *os) { *os << c.name; }

class PrivacyPolicyVerdict : public testing::TestWithParam<VerdictCase>
{ };

TEST_P(PrivacyPolicyVerdict, Matrix)
{
    const VerdictCase &c = GetParam();
    const Verdict v = PrivacyPolicy::verdict(c.formats, c.appName, c.bundleID, c.secureInput, c.exclusions, c.overrides);
    EXPECT_EQ(int(v.kind), int(c.verdict.kind));
    EXPECT_EQ(v.reason, c.verdict.reason);
}

const QStringList text{"text/plain", "text/plain;charset=utf-8"};
const QStringList concealed{"text/plain", "x-kde-passwordManagerHint"};
const QString hidden = "Hidden content", secure = "Password field active", manager = "Password manager",
              excluded = "Excluded app", named = "App name suggests passwords";

INSTANTIATE_TEST_SUITE_P(
    Cases, PrivacyPolicyVerdict,
    testing::Values(
        VerdictCase{"plainCopy", text, "Kate", "org.kde.kate", false, {}, {}, Verdict::record()},
        VerdictCase{"unknownApp", text, std::nullopt, std::nullopt, false, {}, {}, Verdict::record()},
        VerdictCase{"concealedMarker", concealed, "Kate", "org.kde.kate", false, {}, {}, Verdict::skip(hidden)},
        VerdictCase{"concealedMarkerAnyCase",
                    {"X-KDE-PasswordManagerHint"},
                    "Kate",
                    "org.kde.kate",
                    false,
                    {},
                    {},
                    Verdict::skip(hidden)},
        VerdictCase{"nspasteboardConcealed", {"org.nspasteboard.ConcealedType"}, "A", "a", false, {}, {}, Verdict::skip(hidden)},
        VerdictCase{
            "concealedBeforeEverything", concealed, "1Password", "1password", true, {"1password"}, {}, Verdict::skip(hidden)},
        VerdictCase{"secureInput", text, "Kate", "org.kde.kate", true, {}, {}, Verdict::skip(secure)},
        VerdictCase{"protectedMixedCase", text, "KeePassXC", "org.keepassxc.KeePassXC", false, {}, {}, Verdict::skip(manager)},
        VerdictCase{"protectedWmClass", text, "KeePassXC", "KeePassXC", false, {}, {}, Verdict::skip(manager)},
        // An override (however it got into the settings) never unblocks a password manager.
        VerdictCase{
            "overrideCannotUnblockProtected", text, "1Password", "1password", false, {}, {"1password"}, Verdict::skip(manager)},
        VerdictCase{
            "overrideInOtherCaseCannotUnblock", text, "1Password", "1Password", false, {}, {"1PASSWORD"}, Verdict::skip(manager)},
        VerdictCase{"exclusionDoesNotReplaceProtection",
                    text,
                    "Bitwarden",
                    "bitwarden",
                    false,
                    {"bitwarden"},
                    {},
                    Verdict::skip(manager)},
        VerdictCase{"userExclusion", text, "Kate", "org.kde.kate", false, {"ORG.KDE.Kate"}, {}, Verdict::skip(excluded)},
        VerdictCase{"exclusionBeatsOverride",
                    text,
                    "Vault Viewer",
                    "vault.viewer",
                    false,
                    {"vault.viewer"},
                    {"vault.viewer"},
                    Verdict::skip(excluded)},
        VerdictCase{"sensitiveName", text, "Password Generator", "pwgen", false, {}, {}, Verdict::skip(named)},
        VerdictCase{"overrideCancelsNameRule", text, "Password Generator", "pwgen", false, {}, {"PWGen"}, Verdict::record()},
        VerdictCase{"overrideNeedsAnID", text, "Password Generator", std::nullopt, false, {}, {"pwgen"}, Verdict::skip(named)},
        VerdictCase{"transientSilently",
                    {"text/plain", "org.nspasteboard.TransientType"},
                    "Kate",
                    "org.kde.kate",
                    false,
                    {},
                    {},
                    Verdict::skipSilently()},
        VerdictCase{"autoGeneratedSilently",
                    {"org.nspasteboard.AutoGeneratedType"},
                    "Kate",
                    "org.kde.kate",
                    false,
                    {},
                    {},
                    Verdict::skipSilently()},
        VerdictCase{"recordedReasonBeatsSilentSkip",
                    {"org.nspasteboard.TransientType"},
                    "Kate",
                    "org.kde.kate",
                    true,
                    {},
                    {},
                    Verdict::skip(secure)}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

} // namespace

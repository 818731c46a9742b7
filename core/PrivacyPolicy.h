#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvane::PrivacyPolicy {

/** @brief A password manager whose copies are always skipped. */
struct ProtectedApp {
    QString name;
    /** Lower-case identities: desktop-entry ids and WM_CLASS forms. */
    QStringList bundleIDs;

    friend bool operator==(const ProtectedApp &, const ProtectedApp &) = default;
};
size_t qHash(const ProtectedApp &app, size_t seed = 0);

/** The fixed list of protected password managers, in display order. */
const QList<ProtectedApp> &protectedApps();

/** True when the id is present and its lower-cased form is a protected identity. */
bool isProtectedBundleID(const std::optional<QString> &bundleID);
/** True when the name is present and contains "password", "keychain" or "vault" (any case). */
bool hasSensitiveName(const std::optional<QString> &appName);

/** @brief Whether to record a copy, skip it with a reason shown to the user, or drop it silently. */
struct Verdict {
    enum class Kind { record, skip, skipSilently };

    Kind kind = Kind::record;
    /** Why the copy was skipped; empty unless kind is skip. */
    QString reason;

    static Verdict record() { return {}; }
    static Verdict skip(const QString &reason) { return {Kind::skip, reason}; }
    static Verdict skipSilently() { return {Kind::skipSilently, {}}; }

    bool isRecord() const { return kind == Kind::record; }
    friend bool operator==(const Verdict &, const Verdict &) = default;
};

/** Clipboard formats that mark content as concealed (a password). */
const QStringList &concealedFormats();
/** Clipboard formats that mark content as transient or auto-generated. */
const QStringList &transientFormats();

/**
 * Decides one copy. Protection (concealed content, secure input, password managers) is checked
 * before anything the user can change; user exclusions only add to it, and name-rule overrides
 * cancel only the app-name rule. Ids are compared case-insensitively.
 */
Verdict verdict(const QStringList &formats, const std::optional<QString> &appName, const std::optional<QString> &bundleID,
                bool secureInput, const QStringList &userExclusions, const QStringList &nameRuleOverrides);

} // namespace corvane::PrivacyPolicy

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace corvane::SecretMasker {

/** @brief A recognised secret: what kind of token it is and the part that may be shown. */
struct Token {
    /** Human-readable kind ("GitHub token", "Private key", "Token"); also the detection detail. */
    QString kind;
    /** The known prefix shown before the mask (at most 8 characters; empty for generic tokens). */
    QString visiblePrefix;
    /** For PEM blocks the header line, which is shown in full. */
    QString header;

    friend bool operator==(const Token &, const Token &) = default;
};

/** The mask shown in place of the hidden part: always eight bullets, whatever the length. */
QString bullets();

/** Recognises a secret token or key block in a (trimmed) text; nothing when it is not one. */
std::optional<Token> identify(QStringView text);

/**
 * The text to show for a secret clip: known prefix + eight bullets, a PEM header + bullets, or
 * only bullets. Never reveals the length or the tail, also for texts that identify() rejects.
 */
QString mask(QStringView text);

} // namespace corvane::SecretMasker

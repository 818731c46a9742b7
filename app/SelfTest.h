#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace corvane {

/**
 * @brief Checks that this build works on this system, without touching the user's history or
 * clipboard: the core rules on fixed samples, then a database cycle in a temporary folder.
 */
class SelfTest
{
public:
    /** A check answers nothing when it passes, else what went wrong. */
    using Check = std::function<std::optional<QString>()>;

    struct Result {
        QString name;
        std::optional<QString> failure;
    };

    struct Report {
        QList<Result> results;
        bool passed() const;
        int failureCount() const;
        /** "PASS name" / "FAIL name: detail" lines and a summary line. */
        QString text() const;
    };

    /** Runs the built-in checks. Safe to run off the main thread. */
    static Report run();
    /** Runs the given checks; a check that throws fails with the exception's message. */
    static Report run(const QList<QPair<QString, Check>> &checks);

    static QList<QPair<QString, Check>> coreChecks();
    static QList<QPair<QString, Check>> databaseChecks();
};

} // namespace corvane

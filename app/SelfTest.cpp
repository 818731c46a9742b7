#include "SelfTest.h"

#include "AppInfo.h"

#include <exception>

namespace corvane {

bool SelfTest::Report::passed() const { return failureCount() == 0 && !results.isEmpty(); }

int SelfTest::Report::failureCount() const
{
    return int(std::count_if(results.begin(), results.end(), [](const Result &r) { return r.failure.has_value(); }));
}

QString SelfTest::Report::text() const
{
    QString out = QStringLiteral("Corvane Self-Test (version %1, build %2)\n\n").arg(appVersion(), appBuild());
    for (const Result &result : results) {
        out += result.failure ? QStringLiteral("FAIL %1: %2\n").arg(result.name, *result.failure)
                              : QStringLiteral("PASS %1\n").arg(result.name);
    }
    const int failed = failureCount();
    out += QStringLiteral("\n%1 checks, %2 passed, %3 failed: %4\n")
               .arg(results.size())
               .arg(results.size() - failed)
               .arg(failed)
               .arg(passed() ? QStringLiteral("PASS") : QStringLiteral("FAIL"));
    return out;
}

SelfTest::Report SelfTest::run() { return run(coreChecks() + databaseChecks()); }

SelfTest::Report SelfTest::run(const QList<QPair<QString, Check>> &checks)
{
    Report report;
    for (const auto &[name, check] : checks) {
        Result result{name, std::nullopt};
        try {
            result.failure = check();
        } catch (const std::exception &error) {
            result.failure = QString::fromUtf8(error.what());
        } catch (...) {
            result.failure = QStringLiteral("unknown error");
        }
        report.results.append(result);
    }
    return report;
}

} // namespace corvane

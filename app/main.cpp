#include "AppDelegate.h"
#include "LogOutput.h"
#include "QuitOnSignal.h"
#include "ReportFiles.h"
#include "SelfTest.h"
#include "SingleInstance.h"
#include "X11Session.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <optional>
#include <cstring>

namespace {

// The self-test needs no display, so it runs before any GUI exists.
int runSelfTest(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const corvane::SelfTest::Report report = corvane::SelfTest::run();
    QString error;
    const auto path
        = corvane::ReportFiles::write(QString::fromLatin1(corvane::ReportFiles::selfTestFileName), report.text(), &error);
    std::fputs(qPrintable(report.text()), stdout);
    if (!path) {
        std::fprintf(stderr, "Corvane: could not write the self-test report: %s\n", qPrintable(error));
        return 2;
    }
    std::printf("Report: %s\n", qPrintable(*path));
    return report.passed() ? 0 : 1;
}

/** `corvane --toggle` or `--next` alone on the command line. */
std::optional<corvane::SingleInstance::Command> forwardedCommand(int argc, char *argv[])
{
    if (argc != 2)
        return std::nullopt;
    if (std::strcmp(argv[1], "--toggle") == 0)
        return corvane::SingleInstance::Command::toggle;
    if (std::strcmp(argv[1], "--next") == 0)
        return corvane::SingleInstance::Command::next;
    return std::nullopt;
}

int reportClaimFailure(const corvane::SingleInstance &instance)
{
    std::fprintf(stderr, "Corvane: could not claim the single-instance socket: %s\n", qPrintable(instance.errorString()));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--self-test") == 0)
            return runSelfTest(argc, argv);
    }

    corvane::LogOutput::install();

    // A key bound to a command hands it over before any GUI object exists: no display connection,
    // no fonts. Only a toggle with no copy running goes on to start one.
    if (const auto command = forwardedCommand(argc, argv)) {
        QCoreApplication core(argc, argv);
        corvane::SingleInstance instance(QCoreApplication::applicationFilePath());
        switch (instance.forward(*command)) {
        case corvane::SingleInstance::Outcome::handedOver:
            return 0;
        case corvane::SingleInstance::Outcome::failed:
            return reportClaimFailure(instance);
        case corvane::SingleInstance::Outcome::notRunning:
        case corvane::SingleInstance::Outcome::primary:
            if (*command == corvane::SingleInstance::Command::next) {
                std::fprintf(stderr, "Corvane is not running.\n");
                return 1;
            }
            break;
        }
    }

    corvane::X11Session::selectQtPlatform();
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setOrganizationName(QStringLiteral("Corvane"));
    QApplication::setDesktopFileName(QStringLiteral("corvane"));
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Corvane, a clipboard history for the desktop."));
    parser.addHelpOption();
    const QCommandLineOption toggle(QStringLiteral("toggle"),
                                    QStringLiteral("Show or hide the main window of the running Corvane."));
    const QCommandLineOption next(QStringLiteral("next"), QStringLiteral("Put the next paste-queue item on the clipboard."));
    const QCommandLineOption selfTest(QStringLiteral("self-test"),
                                      QStringLiteral("Run the self-test, write its report and exit."));
    parser.addOptions({toggle, next, selfTest});
    parser.process(app);

    using Command = corvane::SingleInstance::Command;
    const Command command = parser.isSet(next) ? Command::next : parser.isSet(toggle) ? Command::toggle : Command::start;

    corvane::SingleInstance instance(QCoreApplication::applicationFilePath());
    switch (instance.claim(command)) {
    case corvane::SingleInstance::Outcome::handedOver:
        return 0;
    case corvane::SingleInstance::Outcome::notRunning:
        std::fprintf(stderr, "Corvane is not running.\n");
        return 1;
    case corvane::SingleInstance::Outcome::failed:
        return reportClaimFailure(instance);
    case corvane::SingleInstance::Outcome::primary:
        break;
    }

    corvane::QuitOnSignal quitOnSignal;
    corvane::AppDelegate delegate(instance);
    delegate.start();
    return app.exec();
}

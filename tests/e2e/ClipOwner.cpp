// Owns the clipboard with chosen content, one copy after another. Each argument is a copy:
// "text:<utf-8>", or "<mime>=<file>[,<mime>=<file>...]" for chosen formats. The next copy is
// made once the previous one was read (a format's bytes were asked for); exits after the last
// copy was read or when another program takes the clipboard.
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

namespace {

class Copy : public QMimeData
{
public:
    mutable bool read = false;
    mutable QElapsedTimer sinceRead;

protected:
    QVariant retrieveData(const QString &format, QMetaType type) const override
    {
        if (format != QLatin1String("TARGETS") && hasFormat(format)) {
            read = true;
            sinceRead.start();
        }
        return QMimeData::retrieveData(format, type);
    }
};

Copy *makeCopy(const QString &description)
{
    auto *copy = new Copy;
    if (description.startsWith(QLatin1String("text:"))) {
        copy->setText(description.mid(5));
        return copy;
    }
    for (const QString &part : description.split(QLatin1Char(','))) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        QFile file(part.mid(eq + 1));
        if (eq <= 0 || !file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "clip-owner: bad copy %s\n", qPrintable(part));
            std::exit(2);
        }
        copy->setData(part.left(eq), file.readAll());
    }
    return copy;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QStringList copies = app.arguments().mid(1);
    if (copies.isEmpty())
        return 2;
    QClipboard *clipboard = QGuiApplication::clipboard();
    Copy *current = nullptr;
    auto next = [&] {
        current = makeCopy(copies.takeFirst());
        clipboard->setMimeData(current); // the clipboard owns it from here
    };
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (!clipboard->ownsClipboard())
            QCoreApplication::exit(copies.isEmpty() ? 0 : 1);
        if (!current->read)
            return;
        // A reader may ask for several formats: the next copy waits until it has been quiet a while.
        if (current->sinceRead.elapsed() < 250)
            return;
        if (copies.isEmpty()) {
            // Keep serving until the reader is done with the last one.
            QTimer::singleShot(500, &app, [] { QCoreApplication::exit(0); });
            poll.stop();
            return;
        }
        next();
    });
    next();
    poll.start();
    return app.exec();
}

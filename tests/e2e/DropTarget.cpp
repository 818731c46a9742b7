// A window that accepts any drop and records what arrived: one file per format under the folder
// given as the first argument, and "formats.txt" (format, tab, byte count per line) written last.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QSaveFile>

namespace {

class Target : public QLabel
{
public:
    explicit Target(QString folder)
        : QLabel(QStringLiteral("Drop here"))
        , m_folder(std::move(folder))
    {
        setAcceptDrops(true);
        setAlignment(Qt::AlignCenter);
        setWindowTitle(QStringLiteral("Corvane drop target"));
        resize(300, 300);
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent *event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent *event) override
    {
        const QMimeData *mime = event->mimeData();
        QDir().mkpath(m_folder);
        QByteArray index;
        int n = 0;
        for (const QString &format : mime->formats()) {
            const QByteArray bytes = mime->data(format);
            QFile file(QDir(m_folder).filePath(QString::number(n++)));
            if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
            index += format.toUtf8() + '\t' + QByteArray::number(bytes.size()) + '\n';
        }
        event->acceptProposedAction();
        QSaveFile out(QDir(m_folder).filePath(QStringLiteral("formats.txt")));
        if (out.open(QIODevice::WriteOnly)) {
            out.write(index);
            out.commit();
        }
    }

private:
    QString m_folder;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Target target(QString::fromLocal8Bit(argv[1]));
    target.move(argc > 3 ? QString::fromLatin1(argv[2]).toInt() : 0, argc > 3 ? QString::fromLatin1(argv[3]).toInt() : 0);
    target.show();
    return app.exec();
}

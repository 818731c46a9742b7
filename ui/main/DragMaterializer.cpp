#include "DragMaterializer.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

const QString folderPrefix = QStringLiteral("Corvane Drag ");

/** @brief Closes a descriptor on scope exit. */
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool isPrivateDirectory(int fd)
{
    struct stat st { };
    return ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// Opens a directory without following a link at its last component.
int openDirectory(int at, const QByteArray &name)
{
    return ::openat(at, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool sameContent(int dir, const QByteArray &name, const QByteArray &bytes)
{
    Fd file{::openat(dir, name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC)};
    struct stat st { };
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != bytes.size())
        return false;
    QByteArray existing(bytes.size(), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < existing.size()) {
        const ssize_t n = ::read(file.fd, existing.data() + done, size_t(existing.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return existing == bytes;
}

} // namespace

DragMaterializer::DragMaterializer(QString baseFolder, ImageSource images)
    : m_base(std::move(baseFolder))
    , m_images(std::move(images))
{
}

QString DragMaterializer::folderName(std::int64_t id) { return folderPrefix + QString::number(id); }

DragPlan DragMaterializer::materialize(const DragPlan &plan) const
{
    if (plan.kind != DragPlan::Kind::Image)
        return plan;
    const DragPlan fallback = plan.text.isEmpty() ? DragPlan{} : DragPlan::textOf(plan.text);
    std::optional<QByteArray> bytes;
    try {
        bytes = m_images ? m_images(plan.clipId) : std::nullopt;
    } catch (...) {
        return fallback;
    }
    if (!bytes || bytes->isEmpty())
        return fallback;
    const std::optional<QString> path = write(plan.clipId, plan.fileName, *bytes);
    if (!path)
        return fallback;
    return {DragPlan::Kind::ImageFile, plan.text, QUrl::fromLocalFile(*path), plan.clipId, plan.fileName};
}

std::optional<QString> DragMaterializer::write(std::int64_t id, const QString &fileName, const QByteArray &bytes) const
{
    if (m_base.isEmpty() || fileName.isEmpty() || fileName.contains(u'/'))
        return std::nullopt;
    if (!QFileInfo::exists(m_base) && QDir().mkpath(m_base))
        QFile::setPermissions(m_base, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Fd base{::open(QFile::encodeName(m_base).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)};
    if (base.fd < 0 || !isPrivateDirectory(base.fd))
        return std::nullopt;

    const QByteArray folder = QFile::encodeName(folderName(id));
    if (::mkdirat(base.fd, folder.constData(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    Fd dir{openDirectory(base.fd, folder)};
    if (dir.fd < 0 || !isPrivateDirectory(dir.fd))
        return std::nullopt;

    const QByteArray name = QFile::encodeName(fileName);
    struct stat st { };
    if (::fstatat(dir.fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(st.st_mode))
            return std::nullopt;
        if (sameContent(dir.fd, name, bytes))
            return m_base + u'/' + folderName(id) + u'/' + fileName;
    }

    const QByteArray temp = ".partial-" + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    Fd file{::openat(dir.fd, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)};
    if (file.fd < 0)
        return std::nullopt;
    const bool written = writeAll(file.fd, bytes) && ::fsync(file.fd) == 0;
    ::close(file.fd);
    file.fd = -1;
    if (!written || ::renameat(dir.fd, temp.constData(), dir.fd, name.constData()) != 0) {
        ::unlinkat(dir.fd, temp.constData(), 0);
        return std::nullopt;
    }
    return m_base + u'/' + folderName(id) + u'/' + fileName;
}

void DragMaterializer::removeFolder(std::int64_t id) const
{
    const QString path = m_base + u'/' + folderName(id);
    const QFileInfo info(path);
    if (info.isSymLink())
        QFile::remove(path);
    else if (info.isDir())
        QDir(path).removeRecursively();
}

void DragMaterializer::removeFoldersExcept(const QSet<std::int64_t> &ids) const
{
    if (m_base.isEmpty())
        return;
    const QStringList entries = QDir(m_base).entryList(
        {folderPrefix + u'*'}, QDir::Dirs | QDir::Files | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &entry : entries) {
        bool ok = false;
        const std::int64_t id = entry.mid(folderPrefix.size()).toLongLong(&ok);
        if (ok && !ids.contains(id))
            removeFolder(id);
    }
}

} // namespace corvane

#pragma once

#include "DesktopServices.h"

namespace corvane {

/** @brief Records what was opened and shown; names and the temp folder are set by the test. */
class FakeDesktopServices : public DesktopServices
{
public:
    bool openUrl(const QUrl &url) override
    {
        m_openedUrls.append(url);
        return m_opens;
    }
    bool openFile(const QString &path) override
    {
        m_openedFiles.append(path);
        return m_opens;
    }
    void showInFileManager(const QStringList &paths) override { m_shown.append(paths); }
    QString userFullName() const override { return m_fullName; }
    QString computerName() const override { return m_computerName; }
    std::optional<QString> privateTempDir() override { return m_tempDir; }
    void performHaptic() override { ++m_haptics; }

    void setOpensSucceed(bool succeed) { m_opens = succeed; }
    void setUserFullName(const QString &name) { m_fullName = name; }
    void setComputerName(const QString &name) { m_computerName = name; }
    void setPrivateTempDir(std::optional<QString> dir) { m_tempDir = std::move(dir); }

    const QList<QUrl> &openedUrls() const { return m_openedUrls; }
    const QStringList &openedFiles() const { return m_openedFiles; }
    const QList<QStringList> &shownInFileManager() const { return m_shown; }
    int hapticCount() const { return m_haptics; }

private:
    bool m_opens = true;
    QString m_fullName = QStringLiteral("Ada Lovelace");
    QString m_computerName = QStringLiteral("Computer");
    std::optional<QString> m_tempDir;
    QList<QUrl> m_openedUrls;
    QStringList m_openedFiles;
    QList<QStringList> m_shown;
    int m_haptics = 0;
};

} // namespace corvane

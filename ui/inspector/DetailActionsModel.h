#pragma once

#include "DetailActions.h"
#include "DetectedDetail.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace corvane {

/**
 * @brief The rows of "FOUND IN THIS CLIP" for a text: scanned on a pool thread whenever the text
 * changes. Every scan carries a generation number and only the newest one's result is shown, so
 * a slow scan of an older text never replaces a newer one. The last result stays until then.
 */
class DetailActionsModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)

public:
    enum Role { SymbolRole = Qt::UserRole + 1, LabelRole, TitleRole, DetailIdRole };
    static constexpr int cardLimit = 6;

    using Scanner = std::function<QList<DetectedDetail>(const QString &text)>;

    explicit DetailActionsModel(QObject *parent = nullptr);
    /** Tests hand in their own scan (and its timing). */
    void setScanner(Scanner scanner) { m_scanner = std::move(scanner); }
    void setHosts(const ServiceHosts &hosts) { m_hosts = hosts; }

    QString text() const { return m_text; }
    void setText(const QString &text);
    const QList<DetectedDetail> &details() const { return m_details; }
    quint64 generation() const { return m_generation; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void perform(int row);

signals:
    void textChanged();
    void countChanged();
    /** A scan's result was taken (stale ones are dropped without this). */
    void scanApplied();

private:
    void apply(quint64 generation, QList<DetectedDetail> details);

    QString m_text;
    quint64 m_generation = 0;
    Scanner m_scanner;
    ServiceHosts m_hosts;
    QList<DetectedDetail> m_details;
};

} // namespace corvane

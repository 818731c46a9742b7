#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <vector>

namespace corvane {

/**
 * @brief The welcome tour's pages: page 0 greets, pages 1 to 6 show one step each. It pages and
 * asks to be dismissed; whoever shows it records that it was shown.
 */
class WelcomeTourModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(int page READ page NOTIFY pageChanged)
    Q_PROPERTY(int stepCount READ stepCount CONSTANT)
    Q_PROPERTY(bool isWelcomePage READ isWelcomePage NOTIFY pageChanged)
    Q_PROPERTY(bool showSkip READ showSkip NOTIFY pageChanged)
    Q_PROPERTY(bool showBack READ showBack NOTIFY pageChanged)
    Q_PROPERTY(QString primaryTitle READ primaryTitle NOTIFY pageChanged)
    Q_PROPERTY(int primaryWidth READ primaryWidth NOTIFY pageChanged)
    Q_PROPERTY(int litDot READ litDot NOTIFY pageChanged)
    Q_PROPERTY(QVariantMap step READ stepValue NOTIFY pageChanged)
    Q_PROPERTY(QString introText READ introText CONSTANT)
    Q_PROPERTY(QVariantList privacyRows READ privacyRows CONSTANT)

public:
    /** @brief One page of the tour: a symbol, a title, a text and maybe a key legend. */
    struct Step {
        QString symbol;
        QString title;
        QString text;
        QString keys; ///< empty: no legend
    };

    explicit WelcomeTourModel(QObject *parent = nullptr);

    static const std::vector<Step> &steps();

    int page() const { return m_page; }
    int stepCount() const { return int(steps().size()); }
    bool isWelcomePage() const { return m_page == 0; }
    bool isLastPage() const { return m_page == stepCount(); }
    bool showSkip() const { return !isLastPage(); }
    bool showBack() const { return m_page >= 1; }
    QString primaryTitle() const;
    int primaryWidth() const { return isLastPage() ? 210 : 150; }
    /** The lit page dot; -1 on the last page, which has none of its own. */
    int litDot() const { return isLastPage() ? -1 : m_page; }
    QVariantMap stepValue() const;
    QString introText() const;
    QVariantList privacyRows() const;

    /** Next page, or dismissal on the last one. */
    Q_INVOKABLE void primary();
    Q_INVOKABLE void back();
    Q_INVOKABLE void skip();
    /** Back to the welcome page, for a fresh presentation. */
    Q_INVOKABLE void restart();

signals:
    void pageChanged();
    void dismissRequested();

private:
    void setPage(int page);

    int m_page = 0;
};

} // namespace corvane

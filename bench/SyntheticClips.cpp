#include "SyntheticClips.h"

#include <QStringList>

#include <random>

namespace corvane::bench {
namespace {

const QStringList words
    = QStringLiteral("the of and to in is that for it as was with be by on not he this are or his from at which but have an "
                     "they you were her she there been one all we their has would when if so no will can more about out up "
                     "into them some could what time only other new these two may first then do any like my now over such "
                     "our man me even most made after also did many before must through back years where much your way well "
                     "down should because each just those people how too little state good very make world still own see "
                     "meeting invoice project release schedule budget review deadline customer server database connection "
                     "postgres query timeout network deploy build failure report summary agenda weekend dinner flight hotel "
                     "address password account payment order delivery package tracking number document folder picture camera")
          .split(u' ');

const QStringList identifiers
    = QStringLiteral("value result index count items buffer config options request response handler callback context "
                     "session user client manager service store model view controller parser token stream error status")
          .split(u' ');

const QStringList hosts
    = QStringLiteral("github.com docs.qt.io en.wikipedia.org news.ycombinator.com stackoverflow.com www.youtube.com "
                     "mail.example.org shop.example.com maps.example.net blog.example.io")
          .split(u' ');

// Word frequencies in real text fall off with rank (Zipf): the function words above are
// common, the domain words rarer, and a long tail of other words rarer still.
QStringList lexicon()
{
    QStringList all = words;
    static const char *const syllables[]
        = {"ka",  "ro",  "mi",  "ten", "sal", "ver", "dor", "lin", "pa",  "que", "stra", "bel", "nu",  "gor", "fe",  "zen", "tri",
           "mon", "ash", "el",  "by",  "wex", "jo",  "quo", "hum", "dra", "pli", "vy",   "chu", "sko", "gla", "fin", "bu",  "yar",
           "zo",  "thi", "cra", "wu",  "mop", "ig",  "ub",  "ox",  "ept", "fly", "nak",  "rev", "spu", "dwi", "lo",  "ha"};
    constexpr unsigned syllableCount = sizeof(syllables) / sizeof(*syllables);
    std::mt19937 random(7);
    while (all.size() < 4000) {
        QString word;
        const int parts = 1 + int(random() % 4);
        for (int i = 0; i < parts; ++i)
            word += QLatin1String(syllables[random() % syllableCount]);
        all.append(word);
    }
    return all;
}

class Generator
{
public:
    explicit Generator(std::uint32_t seed)
        : random(seed)
        , vocabulary(lexicon())
    {
        std::vector<double> weights;
        for (qsizetype rank = 0; rank < vocabulary.size(); ++rank)
            weights.push_back(1.0 / double(rank + 1));
        zipf = std::discrete_distribution<int>(weights.begin(), weights.end());
    }

    const QString &word() { return vocabulary[zipf(random)]; }

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    const QString &pick(const QStringList &list) { return list[between(0, int(list.size()) - 1)]; }

    QString link()
    {
        QString url = QStringLiteral("https://") + pick(hosts);
        const int segments = between(1, 5);
        for (int i = 0; i < segments; ++i)
            url += u'/' + word() + (between(0, 3) == 0 ? QString::number(between(1, 99999)) : QString());
        if (between(0, 2) == 0)
            url += QStringLiteral("?utm_source=") + pick(words) + QStringLiteral("&id=") + QString::number(between(1, 1 << 30));
        return url;
    }

    QString shortValue()
    {
        switch (between(0, 4)) {
        case 0:
            return pick(words) + u'.' + pick(words) + QStringLiteral("@example.org");
        case 1:
            return QStringLiteral("+49 30 %1 %2 tel").arg(between(1000, 9999)).arg(between(1000, 9999));
        case 2:
            return QStringLiteral("Total due: %1.%2 EUR").arg(between(1, 99999)).arg(between(10, 99));
        case 3:
            return QStringLiteral("ghp_%1%2abcdefGHIJKLmnopQRSTuv").arg(between(100000, 999999)).arg(between(1000, 9999));
        default:
            return QStringLiteral("rgb(%1, %2, %3) and #A0B1C2").arg(between(0, 255)).arg(between(0, 255)).arg(between(0, 255));
        }
    }

    QString prose(int length)
    {
        QString text;
        bool sentenceStart = true;
        while (text.size() < length) {
            QString word = this->word();
            if (sentenceStart)
                word[0] = word[0].toUpper();
            text += word;
            sentenceStart = between(0, 11) == 0;
            text += sentenceStart ? QStringLiteral(". ") : QStringLiteral(" ");
        }
        return text.left(length);
    }

    QString code(int length)
    {
        QString text;
        int depth = 0;
        while (text.size() < length) {
            const QString indent(4 * depth, u' ');
            switch (between(0, 4)) {
            case 0:
                text += indent
                    + QStringLiteral("if (%1.%2 == %3) {\n").arg(pick(identifiers), pick(identifiers)).arg(between(0, 9));
                ++depth;
                break;
            case 1:
                if (depth > 0) {
                    --depth;
                    text += QString(4 * depth, u' ') + QStringLiteral("}\n");
                    break;
                }
                [[fallthrough]];
            case 2:
                text += indent
                    + QStringLiteral("const auto %1 = %2->%3(%4);\n")
                          .arg(pick(identifiers), pick(identifiers), pick(identifiers), pick(identifiers));
                break;
            case 3:
                text += indent + QStringLiteral("// %1 %2 %3\n").arg(word(), word(), word());
                break;
            default:
                text += indent + QStringLiteral("%1 += %2[%3];\n").arg(pick(identifiers), pick(identifiers)).arg(between(0, 99));
                break;
            }
        }
        return text.left(length);
    }

    QString log(int length)
    {
        QString text;
        while (text.size() < length) {
            text += QStringLiteral("2024-05-%1T%2:%3:07Z [%4] %5 %6 %7 ms\n")
                        .arg(between(10, 28))
                        .arg(between(10, 23))
                        .arg(between(10, 59))
                        .arg(between(0, 1) ? QStringLiteral("info") : QStringLiteral("warn"))
                        .arg(pick(identifiers), word())
                        .arg(between(1, 5000));
        }
        return text.left(length);
    }

    std::mt19937 random;
    QStringList vocabulary;
    std::discrete_distribution<int> zipf;
};

} // namespace

const QStringList &syntheticWords() { return words; }
const QStringList &syntheticHosts() { return hosts; }

QList<QString> syntheticClips(int count, std::uint32_t seed)
{
    Generator generator(seed);
    QList<QString> clips;
    clips.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int kind = generator.between(0, 99);
        QString clip;
        if (kind < 25)
            clip = generator.link();
        else if (kind < 40)
            clip = generator.shortValue();
        else if (kind < 70)
            clip = generator.prose(generator.between(20, 400));
        else if (kind < 85)
            clip = generator.code(generator.between(80, 1200));
        else if (kind < 93)
            clip = generator.prose(generator.between(400, 2000));
        else
            clip = generator.log(generator.between(200, 2000));
        if (clip.size() < 20)
            clip += QStringLiteral(" — copied from notes");
        clips.append(clip.left(2000));
    }
    return clips;
}

} // namespace corvane::bench

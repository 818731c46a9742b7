#include "IconTable.h"

#include <array>

#ifndef CORVANE_ICON_DIR
#define CORVANE_ICON_DIR "/usr/share/bootstrap-icons/svg"
#endif

namespace corvane::IconTable {
namespace {

struct Entry {
    const char *symbol;
    const char *file; // without ".svg"
};

// Symbol names of the design mapped to Bootstrap Icons; ".fill" names use the "-fill" weight.
constexpr auto table = std::to_array<Entry>({
    {"airplane", "airplane"},
    {"app.badge", "app-indicator"},
    {"app.dashed", "app"},
    {"calendar", "calendar"},
    {"calendar.badge.plus", "calendar-plus"},
    {"checkmark", "check-lg"},
    {"checkmark.circle.fill", "check-circle-fill"},
    {"chevron.left", "chevron-left"},
    {"chevron.right", "chevron-right"},
    {"circle.fill", "circle-fill"},
    {"clock.arrow.circlepath", "clock-history"},
    {"code", "code-slash"},
    {"command", "command"},
    {"corvane.fill", "clipboard2-data-fill"},
    {"cursorarrow.click.2", "cursor"},
    {"doc", "file-earmark"},
    {"doc.on.clipboard", "clipboard"},
    {"doc.on.doc", "files"},
    {"ellipsis.circle", "three-dots"},
    {"envelope", "envelope"},
    {"exclamationmark.triangle", "exclamation-triangle"},
    {"exclamationmark.triangle.fill", "exclamation-triangle-fill"},
    {"eye", "eye"},
    {"eye.slash", "eye-slash"},
    {"folder", "folder"},
    {"gearshape", "gear"},
    {"globe", "globe"},
    {"hand.raised", "hand-index-thumb"},
    {"internaldrive", "device-hdd"},
    {"key", "key"},
    {"laptopcomputer", "laptop"},
    {"link", "link-45deg"},
    {"lock.fill", "lock-fill"},
    {"lock.shield", "shield-lock"},
    {"macwindow", "window"},
    {"magnifyingglass", "search"},
    {"map", "map"},
    {"minus.circle.fill", "dash-circle-fill"},
    {"note.text", "journal-text"},
    {"number", "hash"},
    {"palette", "palette"},
    {"pause.fill", "pause-fill"},
    {"phone", "telephone"},
    {"photo", "image"},
    {"pin", "pin-angle"},
    {"pin.fill", "pin-angle-fill"},
    {"pin.slash", "pin"},
    {"play.circle.fill", "play-circle-fill"},
    {"play.fill", "play-fill"},
    {"plus", "plus-lg"},
    {"power", "power"},
    {"safari", "compass"},
    {"sidebar.right", "layout-sidebar-reverse"},
    {"sparkles", "stars"},
    {"square.and.arrow.down", "box-arrow-in-down"},
    {"square.and.arrow.up", "box-arrow-up"},
    {"square.and.pencil", "pencil-square"},
    {"square.grid.2x2", "grid"},
    {"square.stack.3d.up", "stack"},
    {"text", "text-left"},
    {"textformat", "fonts"},
    {"trash", "trash3"},
    {"xmark.circle.fill", "x-circle-fill"},
});

const Entry *find(const QString &symbol)
{
    for (const Entry &entry : table) {
        if (symbol == QLatin1String(entry.symbol))
            return &entry;
    }
    return nullptr;
}

} // namespace

QStringList names()
{
    QStringList list;
    for (const Entry &entry : table)
        list << QString::fromLatin1(entry.symbol);
    return list;
}

QString fileName(const QString &symbol)
{
    const Entry *entry = find(symbol);
    return entry ? QString::fromLatin1(entry->file) + QStringLiteral(".svg") : QString();
}

QString path(const QString &symbol)
{
    const QString file = fileName(symbol);
    return file.isEmpty() ? QString() : directory() + u'/' + file;
}

QString directory() { return QStringLiteral(CORVANE_ICON_DIR); }

} // namespace corvane::IconTable

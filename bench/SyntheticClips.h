#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace corvane::bench {

/**
 * A reproducible mix of clipboard texts, 20 to 2,000 characters: links, short values
 * (e-mail, phone, numbers, colours, tokens), prose, code and logs, weighted towards the short
 * clips real histories hold most of.
 */
QList<QString> syntheticClips(int count, std::uint32_t seed = 20240521);

/** The words and web hosts those texts are made of. */
const QStringList &syntheticWords();
const QStringList &syntheticHosts();

} // namespace corvane::bench

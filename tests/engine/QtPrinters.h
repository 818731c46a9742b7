#pragma once

#include <QString>

#include <ostream>

// Readable QString values in GoogleTest failure messages.
inline void PrintTo(const QString &value, std::ostream *out) { *out << '"' << value.toStdString() << '"'; }

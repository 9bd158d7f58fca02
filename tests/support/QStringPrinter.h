#pragma once

#include <QString>

#include <ostream>

// Texts in failure messages as text rather than as bytes.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

#pragma once
// Texts that come from a log file: UTF-8 where the bytes are valid UTF-8, Latin-1 byte by
// byte elsewhere, so a damaged or 8-bit log still shows every byte as some character.
#include <QString>

#include <string>
#include <string_view>

namespace brenvik::ui {

QString LogText(std::string_view bytes);
// Back to bytes for the core: UTF-8.
std::string CoreText(const QString& text);

}  // namespace brenvik::ui

#pragma once

#include <QString>

struct AppState;

// The explanation of level slot 1 is configured per installation: the optional file
// "解説アドレス.txt" in the drill's data folder holds it on its first line (blanks around
// it and enclosing double quotes dropped). An address ending in "swf" opens in the
// browser window; anything else names a media file in the drill's data folder.
inline const QString explanationAddressFileName = QStringLiteral("解説アドレス.txt");
// Used when the file is absent or its first line is empty.
inline const QString defaultExplanationAddress = QStringLiteral("解説1.mp4");

// The configured address, or the default. A file that exists but cannot be read as
// CP932 text is reported in a "注意" message (naming the file) and the default is used:
// the explanation is not worth stopping a class for.
QString explanationAddress(AppState& state);

// The address held by the text of such a file; empty when its first line is empty.
QString explanationAddressFromText(const QString& text);

#include "app/AppState.h"
#include "app/Messages.h"
#include "result/SoundCues.h"
#include "text/ItemReader.h"
#include "text/TextFile.h"

#include <QDir>
#include <optional>

namespace {

constexpr const char16_t* cueNames[SoundTable::cueCount] = {
    u"正解音1", u"正解音2",     u"間違い音1",   u"間違い音2",   u"最高音1",
    u"最高音2", u"自己最高音1", u"自己最高音2", u"自己最高音3", u"不合格音1",
};

constexpr QLatin1String sectionEnd("*");

// Reads one cue's section after its name: up to 20 file names, ended by "*". Gives the
// last item read (the "*", or the 20th name of a section without one), or nullopt when
// the file ends inside the section.
std::optional<QString> readSection(ItemReader& reader, SoundCue& cue) {
    QString last;
    for (int j = 1; j <= SoundCue::maxFiles; ++j) {
        const std::optional<Item> item = reader.next();
        if (!item) {
            return std::nullopt;
        }
        last = item->text;
        if (last == sectionEnd) {
            cue.fileCount = QString::number(j - 1);
            return last;
        }
        cue.files[j] = last;
    }
    // Twenty names and no "*": the names stay, the count is left as it was.
    return last;
}

} // namespace

QString soundCueName(int cue) {
    if (cue < 1 || cue > SoundTable::cueCount) {
        return QString();
    }
    return QString::fromUtf16(cueNames[cue - 1]);
}

QString soundTablePath(const AppState& state) {
    return state.layout.soundFolder + QStringLiteral("新音ファイル.txt");
}

bool loadSoundTable(AppState& state) {
    SoundTable& table = state.sounds;
    for (int c = 1; c <= SoundTable::cueCount; ++c) {
        table.cues[c].name = soundCueName(c);
    }

    const QString path = soundTablePath(state);
    const TextFileRead file = readCp932File(path);
    if (!file.ok) {
        fatalError(state, nullptr, QStringLiteral("注意"),
                   QStringLiteral("音の設定ファイルを読めません。先生を呼びなさい。\r\n") +
                       file.error);
        return false;
    }

    ItemReader reader(file.text);
    while (std::optional<Item> item = reader.next()) {
        QString x = item->text;
        // Every cue is compared in order; after a section the comparison goes on with the
        // last item read, which is normally the "*" and matches no cue.
        for (int c = 1; c <= SoundTable::cueCount; ++c) {
            SoundCue& cue = table.cues[c];
            if (cue.name != x) {
                continue;
            }
            const int line = item->line;
            const std::optional<QString> last = readSection(reader, cue);
            if (!last) {
                fatalError(state, nullptr, QStringLiteral("注意"),
                           QStringLiteral("音の設定ファイル「%1」が、%2 行目の「%3」の区切り「*」の"
                                          "前で終わっています。先生を呼びなさい。")
                               .arg(QDir::toNativeSeparators(path))
                               .arg(line)
                               .arg(cue.name));
                return false;
            }
            x = *last;
        }
    }
    return true;
}

#pragma once

#include <QHash>
#include <QString>
#include <optional>

// The program's string table: every user-visible text under its id, Japanese under 1 to 9999,
// English under the same id + 10000. The language is chosen once at start-up through
// setLangOffset() and fixed from then on.
class StringTable {
public:
    static constexpr int EnglishOffset = 10000;

    // The table built into the program.
    static const StringTable &builtIn();

    // Parses the tab-separated table text ("id<TAB>text[<TAB>ours]", '#' comments).
    static StringTable parse(const QByteArray &utf8);

    std::optional<QString> item(int id) const;
    bool isOurs(int id) const { return m_ours.contains(id); }
    QList<int> ids() const { return m_items.keys(); }

private:
    QHash<int, QString> m_items;
    QHash<int, bool> m_ours;
};

// The language offset in force: 0 for Japanese, 10000 for English.
qint16 LangOffset();
void setLangOffset(qint16 offset);

// Text of item id + LangOffset(); empty (and a warning on the console) when there is no such item.
QString ResText(int id);

// Same, but tells whether the item exists.
std::optional<QString> ResTextIfAny(int id);

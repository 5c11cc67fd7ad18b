#pragma once

#include "print/ReportPage.h"

#include <QList>
#include <QString>

// What was printed on a recording page, kept apart from the page so that it outlives a page the
// operation under test owns.
struct PageRecord {
    struct Item {
        int x = -1;
        int y = -1;
        QString text;
        QString font;
        int points = 0;
    };

    QList<Item> items;
    int ended = 0;

    // The first item with this text; an item at -1, -1 when there is none.
    Item find(const QString &text) const {
        for (const Item &item : items) {
            if (item.text == text)
                return item;
        }
        return {};
    }
};

// A report page that records what is printed where, with fixed metrics: a line is LineHeight
// twips high, a character CharWidth twips wide at 11 points (narrower in a smaller size).
class RecordingPage : public ReportPage {
public:
    static constexpr int LineHeight = 270;
    static constexpr int CharWidth = 110;

    explicit RecordingPage(PageRecord &record) : m_record(record) {}

protected:
    void applyFont(const QString &, int) override {}
    int lineHeight() const override { return LineHeight; }
    int textWidth(const QString &text) const override {
        return int(text.size()) * CharWidth * fontPoints() / 11;
    }
    void drawText(int x, int y, const QString &text) override {
        m_record.items.append({x, y, text, fontFamily(), fontPoints()});
    }
    bool finish() override {
        ++m_record.ended;
        return true;
    }

private:
    PageRecord &m_record;
};

// Which rows of the phrase table are due: the kind names the text compared, exactly.
#include "TextRow.h"
#include "phrases/PhraseRow.h"

#include <QTest>

namespace {
struct Due {
    QString kind, time;
    bool due;
};
} // namespace

class tst_PhraseRow : public QObject {
    Q_OBJECT
private slots:
    void rowDue_data() {
        rows<Due>({{"E on the timer", {"E", "00:00:05", true}},
                   {"A on the clock", {"A", "22:00:00", true}},
                   {"E ignores the clock", {"E", "22:00:00", false}},
                   {"A ignores the timer", {"A", "00:00:05", false}},
                   {"the sign counts", {"E", "- 00:00:05", false}},
                   {"lower-case a", {"a", "22:00:00", false}},
                   {"one hour digit", {"E", "0:00:05", false}}});
    }
    void rowDue() {
        const auto [kind, time, due] = row<Due>();
        QCOMPARE(IsRowDue(kind, time, "00:00:05", "22:00:00"), due);
    }
};

QTEST_APPLESS_MAIN(tst_PhraseRow)
#include "tst_phraserow.moc"

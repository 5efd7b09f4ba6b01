#pragma once

#include <QObject>

namespace gridtest {

class FooterTotalsTest : public QObject {
    Q_OBJECT
  private slots:
    void sumText_data();
    void sumText();
    void emptyResultSet();
    void postsAndDeletionsAdjustTheTotal();
    void deletionRoundsTheNewTotal();
    void postingALargeValueKeepsTheTotalExact();
    void aFileNumberBeyondRangeShowsNoWrongTotal();
    void missingColumnShowsZero();
    void reopenRebuildsAndEmptiesSelection();
    void gridOutlivesItsQuery();
};

class SelectionTest : public QObject {
    Q_OBJECT
  private slots:
    void plainCtrlAndShiftClicks();
    void indicatorCellSelectsToo();
    void dragSelectsARange();
    void rightButtonKeepsSelectionAndOpensMenu();
    void cursorKeys();
    void shiftKeysExtendAndShrink();
    void tabMovesBetweenColumns();
    void doubleClickRaisesEventOnThatRow();
    void gridFollowsTheQuery();
};

class TitlesTest : public QObject {
    Q_OBJECT
  private slots:
    void upperCellsJoinEqualRuns();
    void plainClicksCycleOneMark();
    void ctrlKeepsMarksAndPlainClickClearsThem();
    void joinedUpperCellIsNotAButton();
    void resizingKeepsTheSpan();
    void indicatorWidthFollowsRowCount();
};

class ListColumnsTest : public QObject {
    Q_OBJECT
  private slots:
    void columns_data();
    void columns();
};

class RenderingTest : public QObject {
    Q_OBJECT
  private slots:
    void rowsAreStripedByRecordNumber();
    void highlightWithAndWithoutFocus();
    void upperCellIsJoined();
    void footerShowsItsTexts();
    void noPartOfARowThatDoesNotFitShowsAboveTheFooter();
};

class DeletionTest : public QObject {
    Q_OBJECT
  private slots:
    void deletesSelectedRowsLastToFirst();
    void refusedDeletionStopsAtThatRow();
    void ctrlDeleteAsksInEnglish();
    void ctrlDeleteWithoutSelectionDeletesCurrentRow();
    void ctrlDeleteRefusedIsShown();
    void withoutADeleterTheSelectionStays();
    void ctrlDeleteOnEmptyListDoesNothing();
    void ctrlDeleteOnAListThatCannotChangeDoesNothing();
    void togetherTheTotalFallsAsItWouldRowByRow();
    void insideACallersTransactionTheCallerDecides();
    void anotherConnectionNeverSeesAHalfDeletedSelection();
    void aDeletionWhoseCommitFailsKeepsEveryRow();
};

}  // namespace gridtest

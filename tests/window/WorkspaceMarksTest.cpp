#include "WorkspaceFixture.h"

#include "window/PhotoGridDelegate.h"
#include "window/PhotoGridModel.h"
#include "workspace/Marks.h"

#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QTableView>
#include <QTest>

using namespace tess::test;

namespace {

class WorkspaceMarks : public WorkspaceTest {
protected:
    std::unique_ptr<TRidFotoForm> openWithOriginals(int count) {
        for (int i = 1; i <= count; ++i)
            dir.write("originali/IMG_" + std::to_string(i) + ".txt");
        writeSettings(false);
        auto form = openWorkspace();
        form->show();
        return form;
    }

    QTableView* grid(TRidFotoForm& form, const char* name) {
        return control<QTableView>(form, name);
    }

    void doubleClickRow(QTableView* view, int row) {
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // The colour well inside a row's cell, away from its text.
    QColor cellColour(QTableView* view, int row) {
        view->viewport()->repaint();
        const QImage shot = view->viewport()->grab().toImage();
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        return shot.pixelColor(cell.left() + 200, cell.center().y());
    }

    std::vector<int> marks(const tess::workspace::PhotoTable& table) {
        std::vector<int> result;
        for (int i = 0; i < table.rowCount(); ++i)
            result.push_back(table.row(i).selezionato);
        return result;
    }
};

} // namespace

TEST_F(WorkspaceMarks, DoubleClickTogglesTheClickedRow) {
    auto form = openWithOriginals(3);
    QTableView* view = grid(*form, "DBGrid1");
    doubleClickRow(view, 1);
    EXPECT_EQ(marks(form->TabFotoOriginali), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(form->TabFotoOriginali.recNo(), 2);
    doubleClickRow(view, 1);
    EXPECT_EQ(marks(form->TabFotoOriginali), (std::vector<int>{0, 0, 0}));

    // Below the last row, and on the title row, the double click toggles the row already current.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       QPoint(20, view->viewport()->height() - 5));
    EXPECT_EQ(marks(form->TabFotoOriginali), (std::vector<int>{0, 1, 0}));
    QTest::mouseDClick(view->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(marks(form->TabFotoOriginali), (std::vector<int>{0, 0, 0}));
    form->close();
}

TEST_F(WorkspaceMarks, MarkAllAndUnmarkAllEndOnTheLastRow) {
    dir.write("ridotte/r1.jpg");
    dir.write("ridotte/r2.jpg");
    auto form = openWithOriginals(3);
    form->TabFotoOriginali.moveTo(1);
    trigger(*form, "SelezionaTutto1");
    EXPECT_EQ(marks(form->TabFotoOriginali), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(form->TabFotoOriginali.recNo(), 3);
    EXPECT_EQ(grid(*form, "DBGrid1")->currentIndex().row(), 2);
    EXPECT_EQ(marks(form->TabFotoRidotte), (std::vector<int>{0, 0})); // the other list untouched

    trigger(*form, "MenuItem1");
    EXPECT_EQ(marks(form->TabFotoRidotte), (std::vector<int>{1, 1}));
    trigger(*form, "MenuItem2");
    EXPECT_EQ(marks(form->TabFotoRidotte), (std::vector<int>{0, 0}));
    EXPECT_EQ(form->TabFotoRidotte.recNo(), 2);
    trigger(*form, "DeselezionaTutto1");
    EXPECT_EQ(marks(form->TabFotoOriginali), (std::vector<int>{0, 0, 0}));
    form->close();
}

TEST_F(WorkspaceMarks, EmptyListsAndTheThumbnailsGridStayUnmarked) {
    dir.write("thumbs/t.jpg");
    auto form = openWithOriginals(0);
    trigger(*form, "SelezionaTutto1");
    doubleClickRow(grid(*form, "DBGrid2"), 0);
    EXPECT_TRUE(form->TabFotoOriginali.isEmpty());
    EXPECT_TRUE(form->TabFotoRidotte.isEmpty());
    doubleClickRow(grid(*form, "DBGrid3"), 0);
    EXPECT_EQ(form->TabFotoThumbs.row(0).selezionato, 0);
    form->close();
}

TEST_F(WorkspaceMarks, MarkedRowsAreYellowAndTheCurrentRowHighlightedWithoutFocus) {
    dir.write("thumbs/t1.jpg");
    dir.write("thumbs/t2.jpg");
    auto form = openWithOriginals(3);
    QTableView* originals = grid(*form, "DBGrid1");
    const QPalette palette = originals->palette();
    const QColor window = palette.color(QPalette::Active, QPalette::Base);
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);

    form->TabFotoOriginali.moveTo(0);
    form->DBGrid1DblClick(); // row 0 marked
    form->TabFotoOriginali.moveTo(1);
    form->DBGrid1DblClick(); // row 1 marked and current
    form->TabFotoOriginali.moveTo(2);
    control(*form, "EditPercorsoOrigine")->setFocus(); // the grid has no focus

    EXPECT_EQ(cellColour(originals, 0), tess::workspace::PhotoGridDelegate::kMarkedBackground);
    EXPECT_EQ(cellColour(originals, 1), tess::workspace::PhotoGridDelegate::kMarkedBackground);
    EXPECT_EQ(cellColour(originals, 2), highlight); // current, unmarked, unfocused
    form->TabFotoOriginali.moveTo(1);
    EXPECT_EQ(cellColour(originals, 1), highlight); // current wins over the mark
    EXPECT_EQ(cellColour(originals, 2), window);

    // The thumbnails grid shows its current row only while it has the focus.
    QTableView* thumbnails = grid(*form, "DBGrid3");
    EXPECT_EQ(cellColour(thumbnails, 0), window);
    QApplication::setActiveWindow(form.get());
    thumbnails->setFocus();
    EXPECT_EQ(cellColour(thumbnails, 0), highlight);
    form->close();
}

TEST_F(WorkspaceMarks, ARightClickMakesTheRowCurrentAndOpensTheListsMenu) {
    auto form = openWithOriginals(3);
    QTableView* view = grid(*form, "DBGrid1");
    const QPoint cell = view->visualRect(view->model()->index(2, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, cell);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, cell,
                                view->viewport()->mapToGlobal(cell));
    QApplication::sendEvent(view->viewport(), &menuEvent);
    EXPECT_EQ(form->TabFotoOriginali.recNo(), 3);
    auto* menu = control<QMenu>(*form, "PopupMenu1");
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    form->close();
}

TEST_F(WorkspaceMarks, TheMenuKeyOpensTheListsMenuBesideTheCurrentRowInsideTheGrid) {
    auto form = openWithOriginals(3);
    form->TabFotoOriginali.moveTo(1);
    QTableView* view = grid(*form, "DBGrid1");
    // The Menu key reaches the focused grid as a keyboard context menu event at the middle of
    // the current cell, as the toolkit sends it.
    const QPoint middle = view->visualRect(view->model()->index(1, 0)).center();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, middle,
                          view->viewport()->mapToGlobal(middle));
    QApplication::sendEvent(view, &key);
    auto* menu = control<QMenu>(*form, "PopupMenu1");
    ASSERT_TRUE(menu->isVisible());
    const QRect row = view->visualRect(view->model()->index(1, 0));
    const QRect rowOnScreen(view->viewport()->mapToGlobal(row.topLeft()), row.size());
    const QRect gridOnScreen(view->mapToGlobal(QPoint()), view->size());
    EXPECT_TRUE(gridOnScreen.contains(menu->pos())) << menu->pos().x() << "," << menu->pos().y();
    EXPECT_GE(menu->pos().y(), rowOnScreen.top());
    EXPECT_LE(menu->pos().y(), rowOnScreen.bottom() + 1);
    menu->close();
    form->close();
}

TEST_F(WorkspaceMarks, AnEmptyListIsDrawnAsOneBlankRowInTheGridsOwnColours) {
    auto form = openWithOriginals(0);
    control(*form, "EditPercorsoOrigine")->setFocus();
    const auto picture = [&](const char* name) {
        QTableView* view = grid(*form, name);
        view->repaint();
        return view->grab().toImage();
    };
    const char* grids[] = {"DBGrid1", "DBGrid2", "DBGrid3"};
    std::vector<QImage> empty;
    for (const char* name : grids)
        empty.push_back(picture(name));
    // The reference: the thumbnails grid, unfocused, holding one row with nothing in it, less the
    // current-row arrow, which an empty list does not have.
    form->TabFotoThumbs.append("");
    QImage blankRow = picture("DBGrid3");
    const int indicatorWidth = grid(*form, "DBGrid3")->verticalHeader()->width();
    for (QImage* image : {&blankRow, &empty[0], &empty[1], &empty[2]})
        for (int y = 0; y < image->height(); ++y)
            for (int x = 1; x < indicatorWidth - 1; ++x)
                image->setPixel(x, y, 0);
    for (std::size_t i = 0; i < empty.size(); ++i)
        EXPECT_EQ(empty[i], blankRow) << grids[i];
    form->close();
}

TEST(PhotoGridModel, StaysConsistentThroughRebuildsMovesAndDeletes) {
    tess::workspace::PhotoTable table;
    tess::workspace::PhotoGridModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    table.open();
    table.append("a");
    table.append("b");
    table.disableControls(); // suspended: the model catches up once, on resume
    table.append("c");
    EXPECT_EQ(model.rowCount(), 2);
    table.enableControls();
    EXPECT_EQ(model.rowCount(), 3);
    tess::workspace::markAll(table, 1);
    EXPECT_EQ(model.data(model.index(1, 0), tess::workspace::PhotoGridModel::MarkRole).toInt(), 1);
    table.moveTo(0);
    table.deleteCurrent();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("b"));
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("NomeFoto"));
    table.close();
    EXPECT_EQ(model.rowCount(), 0);
}

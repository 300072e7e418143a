// SPDX-License-Identifier: MIT
// TStringGrid: the cell geometry the windows rely on (widths plus lines, hidden and
// zero-width columns, a 5-pixel row, headers that stay when the rows scroll), the painted
// colours by cell state, the current row kept in step with the text grid, and the
// in-place editor that refuses what the table file cannot hold.

// Qt
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>
// own
#include "WidgetImage.h"
#include "controls/AccessibleEvents.h"
#include "controls/GridAccessible.h"
#include "controls/StringGrid.h"
#include "platform/Cp932.h"

namespace {

using WidgetImage::Render;
using WidgetImage::Rgb;

bool AnyPixel(const QImage& img, const QRect& rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (img.pixel(x, y) == colour)
                return true;
    return false;
}

// A grid shaped like the move log: nine columns, some hidden, one zero-width, a 5-pixel
// fixed row, lines under the fixed row only.
struct MoveLogShape : ::testing::Test
{
    MoveLogShape()
        : grid(&text)
    {
        grid.SetDefaultColWidth(18);
        grid.SetDefaultRowHeight(16);
        grid.SetLines(TStringGrid::glFixedHorz);
        grid.SetFlat(true);
        grid.SetRowSelect(true);
        grid.SetColor(SysColors::clNavy);
        grid.SetFixedColor(SysColors::clTeal);
        grid.SetColWidths({ 18, 18, 25, 40, 0, -1, -1, -1, -1 });
        grid.SetRowHeight(0, 5);
        grid.resize(168, 200);
        grid.show();
    }

    TextGrid text { 9, 20 };
    TStringGrid grid;
};

// What a reader finds: the shown columns' cells only, the current row selected, and the
// current cell focused only while the grid has the keyboard's focus, the focus event too.
TEST_F(MoveLogShape, AReaderSeesTheShownCellsAndTheFocusOnlyWhereItIs)
{
    // Installed after the grid was made and shown, which gave it Qt's own table: that goes.
    GridAccessible::InstallFactory();
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&grid)));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(face, nullptr);
    QAccessibleTableInterface* table = face->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Table);
    EXPECT_EQ(table->columnCount(), 5);
    EXPECT_EQ(table->rowCount(), 20);
    EXPECT_EQ(face->childCount(), 100);
    EXPECT_EQ(GridAccessible::ChildIndex(grid, 5, 3), -1);

    std::vector<std::pair<QAccessible::Event, int>> heard;
    AccessibleEvents::SetObserver([&heard](QAccessibleEvent& event) {
        heard.emplace_back(event.type(), event.child());
    });
    text.SetCell(0, 3, QStringLiteral("甲"));
    text.SetRow(3);
    QAccessibleInterface* cell = table->cellAt(3, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("甲"));
    EXPECT_EQ(face->indexOfChild(cell), 15);
    EXPECT_EQ(face->child(15), cell);
    EXPECT_TRUE(cell->state().selected);
    EXPECT_FALSE(cell->state().focused);
    EXPECT_EQ(face->focusChild(), nullptr);
    for (const auto& [type, child] : heard)
        EXPECT_NE(type, QAccessible::Focus) << child;

    grid.activateWindow();
    grid.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    heard.clear();
    text.SetRow(4);
    QAccessibleInterface* next = table->cellAt(4, 0);
    EXPECT_TRUE(next->state().focused);
    EXPECT_FALSE(cell->state().focused);
    EXPECT_EQ(face->focusChild(), next);
    EXPECT_NE(std::find(heard.begin(), heard.end(), std::pair { QAccessible::Focus, 20 }), heard.end());
    AccessibleEvents::SetObserver({});
}

TEST_F(MoveLogShape, ColumnsTakeTheirWidthsAndHiddenOnesTakeNothing)
{
    const QRect c0 = grid.CellRect(0, 1);
    const QRect c1 = grid.CellRect(1, 1);
    const QRect c3 = grid.CellRect(3, 1);
    EXPECT_EQ(c0.width(), 18);
    EXPECT_EQ(c1.left(), c0.left() + 18); // no vertical lines: no gap
    EXPECT_EQ(c3.width(), 40);
    EXPECT_EQ(grid.CellRect(4, 1).width(), 0);
    EXPECT_TRUE(grid.CellRect(5, 1).isNull());
    // Row 0 is 5 high, then one line, then the 16-pixel rows with no lines between them.
    EXPECT_EQ(grid.CellRect(0, 0).height(), 5);
    EXPECT_EQ(grid.CellRect(0, 1).top(), grid.CellRect(0, 0).top() + 6);
    EXPECT_EQ(grid.CellRect(0, 1).height(), 16);
    EXPECT_EQ(grid.CellRect(0, 2).top(), grid.CellRect(0, 1).top() + 16);
}

TEST_F(MoveLogShape, LinesOnlyUnderTheFixedRowAndNoneBetweenRows)
{
    const QImage img = Render(grid);
    const QRect fixed = grid.CellRect(0, 0);
    const QRect row1 = grid.CellRect(0, 1);
    EXPECT_EQ(img.pixel(fixed.center()), Rgb(SysColors::clTeal));
    EXPECT_EQ(img.pixel(fixed.left() + 3, fixed.bottom() + 1), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(grid.CellRect(0, 2).center()), Rgb(SysColors::clNavy));
    // Row select: the current row (1) in the highlight colour.
    EXPECT_EQ(img.pixel(row1.center()), Rgb(SysColors::clHighlight));
    // Flat: a one-pixel black border.
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1, 1), Rgb(SysColors::clTeal));

    // Cells painted grey as the main window paints them: any other colour down the rows
    // would be a line between them.
    grid.SetDrawCell([](QPainter& p, int, int, const QRect& rect, TStringGrid::CellState) {
        p.fillRect(rect, Qt::gray);
    });
    const QImage grey = Render(grid);
    for (int y = row1.top(); y <= grid.CellRect(0, 5).bottom(); ++y)
        EXPECT_EQ(grey.pixel(row1.left() + 3, y), QColor(Qt::gray).rgb()) << y;
}

TEST_F(MoveLogShape, HookGetsThePreparedPainterAndTheCellState)
{
    struct Seen
    {
        QRgb brush, pen;
        TStringGrid::CellState state;
        QRect rect;
    };
    QMap<QPair<int, int>, Seen> seen;
    grid.SetFontColor(SysColors::clYellow);
    grid.SetDrawCell([&](QPainter& p, int col, int row, const QRect& rect, TStringGrid::CellState state) {
        seen[qMakePair(col, row)] = { p.brush().color().rgb(), p.pen().color().rgb(), state, rect };
        p.fillRect(rect, Qt::green);
    });
    text.SetRow(2);
    const QImage img = Render(grid);
    auto At = [&](int col, int row) { return seen.value(qMakePair(col, row)); };

    ASSERT_TRUE(seen.contains(qMakePair(0, 0)));
    EXPECT_EQ(At(0, 0).state, TStringGrid::CellState(TStringGrid::gdFixed));
    EXPECT_EQ(At(0, 0).brush, Rgb(SysColors::clTeal));
    EXPECT_EQ(At(0, 0).pen, Rgb(SysColors::clYellow));
    EXPECT_TRUE(At(3, 2).state.testFlag(TStringGrid::gdSelected));
    EXPECT_EQ(At(3, 2).brush, Rgb(SysColors::clHighlight));
    EXPECT_EQ(At(3, 2).pen, Rgb(SysColors::clHighlightText));
    EXPECT_FALSE(At(3, 1).state.testFlag(TStringGrid::gdSelected));
    EXPECT_EQ(At(3, 1).brush, Rgb(SysColors::clNavy));
    EXPECT_FALSE(seen.contains(qMakePair(5, 1))); // hidden columns are not drawn
    EXPECT_EQ(At(3, 1).rect, grid.CellRect(3, 1).translated(-grid.viewport()->pos()));
    EXPECT_EQ(img.pixel(grid.CellRect(3, 1).center()), qRgb(0, 255, 0));
}

// Bytes of a file that were no text (kept as raw-byte characters) paint as U+FFFD, and a
// duplicate code as its character, in the default drawing and in the windows' hooks alike.
TEST_F(MoveLogShape, RawBytesPaintAsTheyAreShown)
{
    const QString kept = Cp932::Decode(QByteArray("\x8b\x43\x81\xff\xed\x40")); // 気, 2 bad bytes, 纊
    ASSERT_NE(kept, QStringLiteral("気\uFFFD\uFFFD纊"));
    grid.SetColWidths({ 18, 18, 25, 90, 0, -1, -1, -1, -1 });
    auto paintedWith = [&](const QString& cell) {
        text.SetCell(3, 2, cell);
        return Render(grid);
    };
    const QImage blank = paintedWith(QString());
    for (const bool hook : { false, true }) {
        if (hook) {
            grid.SetDrawCell([&](QPainter& p, int col, int row, const QRect& rect, TStringGrid::CellState) {
                p.fillRect(rect, p.brush());
                TStringGrid::DrawCellText(p, rect, text.Cell(col, row), taLeftJustify);
            });
        }
        const QImage shown = paintedWith(QStringLiteral("気\uFFFD\uFFFD纊"));
        EXPECT_NE(shown, blank);
        EXPECT_EQ(paintedWith(kept), shown) << (hook ? "hook" : "default drawing");
    }
}

TEST_F(MoveLogShape, CurrentRowFollowsTheTextGridAndTheMouse)
{
    text.SetRow(15);
    EXPECT_EQ(grid.currentIndex().row(), 15);
    EXPECT_FALSE(grid.CellRect(0, 15).isNull()); // scrolled into view
    EXPECT_GT(grid.verticalScrollBar()->value(), 0);

    text.SetRow(1);
    QTest::mouseClick(
        grid.viewport(), Qt::LeftButton, {}, grid.viewport()->mapFrom(&grid, grid.CellRect(1, 3).center()));
    EXPECT_EQ(text.Row(), 3);
}

TEST(StringGridTest, HeaderRowsStayWhenTheRowsScroll)
{
    TStringGrid grid(4, 40);
    grid.SetDefaultRowHeight(18);
    grid.SetColWidths({ 42, 119, 53, 152 });
    grid.resize(393, 242);
    grid.show();
    grid.Grid()->SetCell(1, 0, QStringLiteral("Name"));
    const QRect header = grid.CellRect(1, 0);
    const QRect first = grid.CellRect(1, 1);
    EXPECT_EQ(first.top(), header.bottom() + 2); // 18 high, then one line
    grid.verticalScrollBar()->setValue(5);
    EXPECT_EQ(grid.CellRect(1, 0), header);
    EXPECT_EQ(grid.CellRect(1, 6).top(), first.top()); // scrolled by whole rows
    EXPECT_TRUE(grid.CellRect(1, 1).isNull());

    // All lines: black between fixed cells, silver between ordinary ones; a raised edge
    // on the fixed cells of a grid that is not flat.
    const QImage img = Render(grid);
    const QRect fixedCol = grid.CellRect(0, 6);
    const QRect cell = grid.CellRect(1, 6);
    EXPECT_EQ(img.pixel(fixedCol.right() + 1, fixedCol.center().y()), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(cell.right() + 1, cell.center().y()), Rgb(SysColors::clSilver));
    EXPECT_EQ(img.pixel(cell.center().x(), cell.bottom() + 1), Rgb(SysColors::clSilver));
    EXPECT_EQ(img.pixel(header.left() + 5, header.top()), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(header.left() + 5, header.bottom()), Rgb(SysColors::clGray));
    EXPECT_EQ(img.pixel(header.center()), Rgb(SysColors::clBtnFace));
}

// A table file read into the text grid may change its fixed rows: the grid lays itself
// out again at once, not at some later paint.
TEST(StringGridTest, FollowsFixedRowsSetOnTheTextGrid)
{
    TStringGrid grid(4, 40);
    grid.SetDefaultRowHeight(18);
    grid.resize(393, 242);
    grid.show();
    TextGrid* text = grid.Grid();
    QSignalSpy fixedChanged(text, &TextGrid::FixedChanged);
    const int top = grid.viewport()->y();
    const QRect second = grid.CellRect(1, 2);

    text->SetFixedRows(2);
    EXPECT_EQ(grid.viewport()->y(), top + 19); // one more header row, its line included
    EXPECT_TRUE(grid.isRowHidden(1)); // painted in the header strip now
    EXPECT_EQ(grid.CellRect(1, 2).top(), second.top());
    grid.verticalScrollBar()->setValue(3);
    EXPECT_FALSE(grid.CellRect(1, 1).isNull()); // stays when the rows scroll

    text->SetFixedRows(0);
    EXPECT_EQ(grid.viewport()->y(), top - 19);
    EXPECT_FALSE(grid.isRowHidden(0));

    text->SetFixedRows(0); // no change, no signal
    text->SetFixedCols(2);
    text->SetFixedCols(9); // as many as there are columns
    EXPECT_EQ(text->FixedCols(), 4);
    EXPECT_EQ(fixedChanged.count(), 4);
}

TEST(StringGridTest, FixedCellsTakeNoClicks)
{
    TStringGrid grid(4, 5);
    grid.resize(300, 200);
    grid.show();
    grid.Grid()->SetRow(2);
    QTest::mouseClick(
        grid.viewport(), Qt::LeftButton, {}, grid.viewport()->mapFrom(&grid, grid.CellRect(0, 4).center()));
    EXPECT_EQ(grid.Grid()->Row(), 2);
    QTest::mouseClick(
        grid.viewport(), Qt::LeftButton, {}, grid.viewport()->mapFrom(&grid, grid.CellRect(2, 4).center()));
    EXPECT_EQ(grid.Grid()->Row(), 4);
}

TEST(StringGridTest, EditorRefusesCommasAndLineBreaks)
{
    TStringGrid grid(4, 3);
    grid.Grid()->SetFixedCols(2);
    grid.SetEditing(true);
    grid.resize(300, 150);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    grid.setCurrentIndex(grid.Grid()->index(1, 3));
    grid.edit(grid.currentIndex());
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->geometry(), grid.CellRect(3, 1).translated(-grid.viewport()->pos())); // lines left free
    QTest::keyClicks(editor, QStringLiteral("ab,c"));
    EXPECT_EQ(editor->text(), QStringLiteral("abc"));
    EXPECT_EQ(grid.Grid()->Cell(3, 1), QStringLiteral("abc")); // live, before the editor closes
    editor->insert(QStringLiteral("生\n気"));
    EXPECT_EQ(editor->text(), QStringLiteral("abc"));
    editor->insert(QStringLiteral("生気"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits from a queued call
    EXPECT_EQ(grid.Grid()->Cell(3, 1), QStringLiteral("abc生気"));

    // Fixed cells are never edited.
    EXPECT_FALSE(grid.Grid()->flags(grid.Grid()->index(1, 1)) & Qt::ItemIsEditable);
}

TEST(StringGridTest, CellTextIsClippedToItsCell)
{
    QImage img(60, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setPen(Qt::black);
        QFont f = p.font();
        f.setPixelSize(13);
        p.setFont(f);
        TStringGrid::DrawCellText(p, QRect(10, 0, 20, 18), QString(40, QLatin1Char('W')), taCenter);
    }
    EXPECT_TRUE(AnyPixel(img, QRect(10, 2, 20, 16), qRgb(0, 0, 0))
        || AnyPixel(img, QRect(10, 2, 20, 16), qRgb(1, 1, 1)));
    for (int y = 0; y < img.height(); ++y) {
        EXPECT_EQ(img.pixel(9, y), qRgb(255, 255, 255)) << y;
        EXPECT_EQ(img.pixel(30, y), qRgb(255, 255, 255)) << y;
    }
    for (int x = 10; x < 30; ++x)
        EXPECT_EQ(img.pixel(x, 1), qRgb(255, 255, 255)) << x; // moved down by 2
}

TEST(StringGridTest, ZeroWidthColumnKeepsItsLine)
{
    TStringGrid grid(3, 2);
    grid.SetColWidths({ 10, 0, 10 });
    grid.resize(200, 100);
    grid.show();
    EXPECT_EQ(grid.CellRect(2, 1).left(), grid.CellRect(0, 1).left() + 10 + 1 + 0 + 1);
    grid.SetColWidth(1, -1);
    EXPECT_EQ(grid.CellRect(2, 1).left(), grid.CellRect(0, 1).left() + 10 + 1);
}

} // namespace

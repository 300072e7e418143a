// SPDX-License-Identifier: MIT
// TStringGrid: the string grid the windows show their tables in (the move log of the main
// window, the three score tables of the options dialog, the ranking). A QTableView over a
// TextGrid that lays out and paints the way the classic grid did:
//   - a column of width w takes w pixels plus its grid line; a width of -1 hides the
//     column, line included; 0 leaves just the line;
//   - a grid line is 1 pixel where its option is on and takes no room where it is off:
//     glFixedHorz puts a line under each fixed row and none between ordinary rows, so
//     those follow each other at their own height;
//   - the fixed rows (headers) stay put when the grid scrolls, and fixed rows and columns
//     are painted in FixedColor with black lines and, unless the grid is flat, a raised
//     edge; they take no clicks;
//   - row select highlights the whole current row in the system highlight colours;
//   - every cell goes through DrawCell with the painter prepared for the cell's state.
// The grid scrolls by whole rows and has a vertical scroll bar only. The current row is
// the TextGrid's Row(), kept in step both ways; the cells and the fixed rows and columns
// are the TextGrid's too, and the grid lays itself out again when the TextGrid says they
// changed.
#pragma once

// Qt
#include <QFont>
#include <QPen>
#include <QPointer>
#include <QTableView>
#include <QVector>
// own
#include "controls/ControlTypes.h"
#include "controls/SysColors.h"
#include "game/TextGrid.h"

#include <functional>

class TStringGrid : public QTableView
{
    Q_OBJECT

public:
    enum CellStateFlag {
        gdSelected = 0x1, // in the selection: the current row of a row-select grid, else the current cell
        gdFocused = 0x2, // the current cell while the grid has the focus
        gdFixed = 0x4, // a fixed row or column
    };
    Q_DECLARE_FLAGS(CellState, CellStateFlag)

    enum GridLines {
        glNone, // no lines
        glFixedHorz, // horizontal lines between the fixed rows and below them only
        glAll, // every line, fixed and ordinary cells
    };

    // Called for every cell. The painter comes prepared: brush in the cell's colour
    // (FixedColor, the highlight colour for a selected cell of a row-select grid or of a
    // grid without the focus, Color otherwise), pen in the font colour (highlight-text in
    // a highlighted cell), the grid's font. The hook fills rect and draws the cell; it
    // must leave the painter's clipping as it found it.
    using DrawCellHook
        = std::function<void(QPainter& painter, int col, int row, const QRect& rect, CellState state)>;

    // A grid showing its own TextGrid of that size.
    TStringGrid(int colCount, int rowCount, QWidget* parent = nullptr);
    // A grid showing a TextGrid owned elsewhere (the game's move log).
    explicit TStringGrid(TextGrid* grid, QWidget* parent = nullptr);
    ~TStringGrid() override;

    TextGrid* Grid() const { return m_grid; }
    void SetGrid(TextGrid* grid);

    // The cells, the row count, the fixed rows and columns and the current row are the
    // TextGrid's: Grid()->SetCell(...), Grid()->SetFixedRows(...). The grid follows every
    // change the TextGrid signals.

    // Widths and heights exclude the grid line.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    void SetColWidths(const QList<int>& widths);
    int DefaultColWidth() const { return m_defaultColWidth; }
    // Sets every column to the width, as the classic grid does.
    void SetDefaultColWidth(int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    // Sets every row to the height; rows added later get it too.
    void SetDefaultRowHeight(int height);

    ColorValue Color() const { return m_color; }
    void SetColor(ColorValue color);
    ColorValue FixedColor() const { return m_fixedColor; }
    void SetFixedColor(ColorValue color);
    // The text colour the painter is prepared with (the grid's font is QWidget::font()).
    ColorValue FontColor() const { return m_fontColor; }
    void SetFontColor(ColorValue color);

    GridLines Lines() const { return m_lines; }
    void SetLines(GridLines lines);
    bool RowSelect() const { return m_rowSelect; }
    void SetRowSelect(bool on);
    // Flat: a one-pixel black border and no raised edges on fixed cells; otherwise a
    // sunken two-pixel border.
    bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    // In-place editing of the non-fixed cells. The editor refuses "," and line breaks.
    bool Editing() const;
    void SetEditing(bool on);

    void SetDrawCell(DrawCellHook hook);

    // The column of the current cell; the first column after the fixed ones when there is
    // none. The current row is Row().
    int CurrentCol() const;

    // The cell's rectangle without its grid line, in the grid's own coordinates; empty
    // when the cell is hidden or scrolled out of view.
    QRect CellRect(int col, int row) const;

    // The drawing every cell shares, the windows' cell hooks included: the text on one line,
    // in rect moved down by 2 pixels at the top, aligned left, centred or right, clipped to
    // that rectangle. The one place where texts read from files are shown (raw bytes as
    // U+FFFD).
    static void DrawCellText(QPainter& painter, const QRect& rect, const QString& text, TAlignment alignment);
    // The background the move logs paint under a cell: the classic gray (the button
    // shadow), under the window text and under the current row's highlight text alike. On
    // the desktop's colours the rows take the palette's dark shade and the current row the
    // palette's selection, so that both inks read on a light desktop and a dark one.
    static QColor LogCellColor(CellState state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void updateGeometries() override;

private:
    class FixedStrip;
    friend class FixedStrip;

    void Init();
    void Attach(TextGrid* grid);
    // Section sizes, hidden rows and columns, the fixed strip: everything that follows
    // from the widths, heights, line options and fixed rows.
    void SyncLayout();
    // The TextGrid's fixed rows or columns changed.
    void FixedChanged();
    void SyncCurrent();
    void PlaceStrip();
    void UpdateFrame();
    void UpdatePaintTools();
    int VertLineWidth() const { return m_lines == glAll ? 1 : 0; }
    // The line under a fixed row, or under an ordinary one.
    int HorzLineWidth(bool fixedRow) const { return (fixedRow ? m_lines != glNone : m_lines == glAll) ? 1 : 0; }
    bool IsFixed(int col, int row) const;
    // section: the cell with its grid lines, in the painter's coordinates.
    void PaintCell(QPainter& painter, int col, int row, const QRect& section) const;

    QPointer<TextGrid> m_grid;
    FixedStrip* m_strip = nullptr;
    QVector<int> m_colWidths;
    QVector<int> m_rowHeights;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    int m_layoutFixedRows = -1; // the fixed rows the layout was made for
    int m_stripHeight = 0;
    ColorValue m_color = SysColors::System(SysColors::ColorWindow);
    ColorValue m_fixedColor = SysColors::clBtnFace;
    ColorValue m_fontColor = SysColors::clWindowText;
    GridLines m_lines = glAll;
    bool m_rowSelect = false;
    bool m_flat = false;
    DrawCellHook m_drawCell;
    QList<QMetaObject::Connection> m_gridConnections;

    // Painting tools, made once per colour change rather than once per cell.
    QBrush m_brushColor, m_brushFixed, m_brushHighlight;
    QPen m_penFont, m_penHighlightText;
    QColor m_lineColor, m_edgeLight, m_edgeShadow;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TStringGrid::CellState)

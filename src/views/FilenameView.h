#pragma once
// CFilenameView: the 130-pixel column at the right of the main window listing the picked
// files, one row per file, with a check box for each file's selection mark and the
// current file's row inverted. A click on a name makes that file current, a click on a
// box toggles its mark (both are asked of the frame by posted messages), and a pop-up
// menu offers the commands on the marked files; a click with Shift marks every file from
// the current one to the clicked one. A file that failed to load is drawn
// struck through in red, and a row's tool tip is its file's full path. The row stripes
// belong to screen rows, so they stay in place while the list scrolls.

#include "views/ViewBase.h"

#include <QAction>

#include <optional>
#include <string>

class QMenu;
class QScrollBar;

namespace mirado {

class CMiradoDoc;

class CFilenameView : public CViewBase {
    Q_OBJECT
public:
    static constexpr int kCheckBoxColumn = 20; // x below this is the check-box column
    static constexpr int kInitialRowHeight = 12;
    static constexpr int kTextX = 24;
    static constexpr int kPageRows = 10;

    CFilenameView(CMiradoDoc* document, QWidget* parent = nullptr);

    CMiradoDoc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnEraseBackground(IDrawingSurface& surface) override;
    void OnDraw(IDrawingSurface& surface) override;
    QRect CalcWindowRect(const QRect& area) const override;

    // Takes the document's file count and recomputes the scroll bar (position 0).
    void UpdateFileCount();
    // Makes index the current row, scrolls it into view and redraws.
    void SetCurrentRow(int index);

    // The message a left-button release at (x, y) posts: WM_SELECT_FILE or
    // WM_TOGGLE_FILE with the file index, or nothing outside the listed rows or the pane.
    struct Hit {
        int message;
        int index;
    };
    std::optional<Hit> HitTest(int x, int y) const;
    // The tool tip of the file at index: its full path.
    std::string ToolTipAt(int index) const;
    // Marks every file from the current one to index (Shift+click).
    void MarkRangeTo(int index);

    // The pop-up menu "Selection" (owned by the caller) with the pane's five commands.
    QMenu* CreateSelectionMenu(QWidget* parent);
    QAction* PrintSelectedAction() const { return printSelected_; }
    QAction* PrintPreviewAction() const { return printPreview_; }
    QAction* SaveToTextAction() const { return saveToText_; }
    QAction* SendToRecycleBinAction() const { return sendToRecycleBin_; }
    QAction* SummaryAction() const { return summary_; }

    int GetCurrentRow() const { return currentRow_; }
    int GetRowHeight() const { return rowHeight_; }
    int GetVisibleRowCount() const { return visibleRows_; }
    int GetFirstRow() const;
    // The row colours of even and odd screen rows.
    static Colour RowColour(int screenRow);
    // The list font for the system's language.
    static FontSpec ListFont();

signals:
    // The pop-up's commands that the frame carries out.
    void SelectAllRequested();
    void ClearSelectionRequested();

protected:
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int ClientWidth() const;
    int ClientHeight() const { return height(); }
    void MeasureRowHeight(IDrawingSurface& surface);
    void UpdateScrollRange(bool resetPosition);
    void PlaceScrollBar();
    void DrawRow(IDrawingSurface& surface, int screenRow, int index) const;
    void DrawDamagedName(IDrawingSurface& surface, int screenRow, const std::string& name) const;

    QScrollBar* scrollBar_;
    QAction* printSelected_;
    QAction* printPreview_;
    QAction* saveToText_;
    QAction* sendToRecycleBin_;
    QAction* selectAll_;
    QAction* clearSelection_;
    QAction* summary_;
    int currentRow_ = -1;
    int visibleRows_ = 0;
    int rowHeight_ = kInitialRowHeight;
    int fileCount_ = 0;
};

} // namespace mirado

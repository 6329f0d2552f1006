#pragma once
// CReportPages: a PrintedReport cut into pages and drawn on IDrawingSurface. The layout
// depends only on the page's size and resolution, so the number of pages is known before
// anything is drawn: lines are wrapped by an estimate of the characters that fit, and a
// text wider than its room is cut short with "..." when it is drawn. A table that does not
// fit goes on over the next pages, its title (marked "(continued)") and header row drawn
// again on each; a table's title and header never end a page without a row after them.
// A figure takes half the body's height, its title at its top, so two fit on a page; the
// room below its title is handed to the figure drawer. Every page has a footer: the
// report's title and "Page n of N".
//
// Use:
//   const CReportPages pages(report, pageRect, dpi);
//   for (int page = 1; page <= pages.PageCount(); ++page)
//       pages.DrawPage(surface, page, drawFigure);

#include "document/PrintedReport.h"
#include "platform/DrawingSurface.h"

#include <functional>
#include <string>
#include <vector>

namespace mirado {

inline constexpr const char* kReportFontFace = "ＭＳ ゴシック";
inline constexpr const char* kContinuedSuffix = " (continued)";
inline constexpr const char* kCutShortMark = "...";

// Draws the figure into room (below the figure's title) on the surface.
using FigureDrawer =
    std::function<void(IDrawingSurface& surface, const Rect& room, const ReportFigure& figure)>;

class CReportPages {
public:
    CReportPages(PrintedReport report, const Rect& page, int dpi);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Draws page (from 1); a page outside 1..PageCount() draws nothing. Without a figure
    // drawer a figure's room stays empty.
    void DrawPage(IDrawingSurface& surface, int page, const FigureDrawer& drawFigure = {}) const;

    // The room the report is drawn in (the page less its margins and footer).
    const Rect& Body() const { return body_; }

private:
    enum class ItemKind { Title, Line, TableTitle, Header, Row, Empty, Figure };
    struct Item {
        ItemKind kind;
        int y;          // the top, in the page's units
        size_t index;   // the line, the table or the figure
        size_t row = 0; // the table's row
        bool continued = false;
    };

    void Paginate();
    void Place(ItemKind kind, int height, size_t index, size_t row = 0, bool continued = false);
    void PlaceTable(size_t table);
    void PlaceFiguresAfter(size_t tables, size_t& next);
    bool Fits(int height) const;
    void NewPage();
    int HeightOf(ItemKind kind) const;
    std::vector<int> ColumnWidths(const ReportTable& table) const;

    void DrawItem(IDrawingSurface& surface, const Item& item, const FigureDrawer& drawFigure) const;
    void DrawFigure(IDrawingSurface& surface, const Item& item,
                    const FigureDrawer& drawFigure) const;
    void DrawCells(IDrawingSurface& surface, const ReportTable& table,
                   const std::vector<std::string>& cells, int y) const;
    void DrawFooter(IDrawingSurface& surface, int page) const;
    void UseFont(IDrawingSurface& surface, int tenths, int weight) const;

    PrintedReport report_;
    std::vector<std::string> lines_; // the report's paragraphs wrapped
    Rect page_, body_;
    int dpi_;
    int lineHeight_;
    std::vector<std::vector<int>> columnWidths_; // per table
    std::vector<std::vector<Item>> pages_;
    int y_ = 0;
};

// The text cut at a code point boundary, with "..." after it, so that it is at most width
// wide on the surface's font; the text itself when it fits.
std::string FitText(const IDrawingSurface& surface, const std::string& text, int width);

// The paragraph broken at spaces into lines of at most maxCharacters code points (a word
// longer than that is broken inside).
std::vector<std::string> WrapParagraph(const std::string& text, size_t maxCharacters);

} // namespace mirado

#include "drawing/ReportPages.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace mirado {

namespace {

constexpr int kBodyTenths = 80; // 8 pt
constexpr int kTitleTenths = 140;
constexpr int kTableTitleTenths = 95;
constexpr int kMarginTenthsOfMm = 120;
constexpr int kCellPaddingPercent = 35; // of the line height, on each side of a cell
constexpr size_t kWidestColumnCharacters = 40;
constexpr Colour kInk = Rgb(0, 0, 0);
constexpr Colour kRule = Rgb(128, 128, 128);
constexpr Colour kPaper = Rgb(255, 255, 255);

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t CodePoints(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The byte where the text's code point number `count` starts (its size when shorter).
size_t ByteOfCodePoint(const std::string& text, size_t count) {
    size_t at = 0;
    for (size_t seen = 0; at < text.size(); ++at) {
        if (!IsContinuationByte(text[at]) && seen++ == count)
            return at;
    }
    return text.size();
}

int Scaled(int dpi, int tenthsOfPoint) {
    return dpi * tenthsOfPoint / 720;
}

} // namespace

std::string FitText(const IDrawingSurface& surface, const std::string& text, int width) {
    if (surface.TextWidth(text) <= width)
        return text;
    std::string cut = text;
    while (!cut.empty()) {
        size_t end = cut.size() - 1;
        while (end > 0 && IsContinuationByte(cut[end]))
            --end;
        cut.resize(end);
        if (surface.TextWidth(cut + kCutShortMark) <= width)
            return cut + kCutShortMark;
    }
    return surface.TextWidth(kCutShortMark) <= width ? kCutShortMark : std::string();
}

std::vector<std::string> WrapParagraph(const std::string& text, size_t maxCharacters) {
    maxCharacters = std::max<size_t>(maxCharacters, 1);
    std::vector<std::string> lines;
    std::string line;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t space = std::min(text.find(' ', start), text.size());
        std::string word = text.substr(start, space - start);
        start = space + 1;
        const size_t needed = CodePoints(line) + (line.empty() ? 0 : 1) + CodePoints(word);
        if (!line.empty() && needed > maxCharacters) {
            lines.push_back(line);
            line.clear();
        }
        while (CodePoints(word) > maxCharacters) {
            const size_t cut = ByteOfCodePoint(word, maxCharacters);
            lines.push_back(word.substr(0, cut));
            word.erase(0, cut);
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty() || lines.empty())
        lines.push_back(line);
    return lines;
}

CReportPages::CReportPages(PrintedReport report, const Rect& page, int dpi)
    : report_(std::move(report)), page_(page), dpi_(std::max(dpi, 1)),
      lineHeight_(std::max(Scaled(dpi_, kBodyTenths) * 135 / 100, 1)) {
    const int margin = dpi_ * kMarginTenthsOfMm / 254;
    body_ = {page.left + margin, page.top + margin, page.right - margin,
             page.bottom - margin - 2 * lineHeight_};
    // About two thirds of the font's height per character, an estimate on the safe side
    // for Latin text; wider characters are cut short when drawn.
    const int characterWidth = std::max(Scaled(dpi_, kBodyTenths) * 2 / 3, 1);
    for (const std::string& paragraph : report_.lines) {
        for (std::string& line :
             WrapParagraph(paragraph, static_cast<size_t>(body_.Width() / characterWidth)))
            lines_.push_back(std::move(line));
    }
    for (const ReportTable& table : report_.tables)
        columnWidths_.push_back(ColumnWidths(table));
    Paginate();
}

int CReportPages::HeightOf(ItemKind kind) const {
    switch (kind) {
    case ItemKind::Title:
        return 2 * lineHeight_ + lineHeight_ / 2;
    case ItemKind::TableTitle:
        return lineHeight_ * 2;
    case ItemKind::Header:
        return lineHeight_ + lineHeight_ / 4;
    case ItemKind::Figure:
        // Two figures and the gaps before them fill the body.
        return std::max((body_.Height() - lineHeight_) / 2, HeightOf(ItemKind::TableTitle) + 1);
    default:
        return lineHeight_;
    }
}

// Each column's share of the body's width follows its widest text (in characters, up to
// a limit), so that short number columns stay narrow.
std::vector<int> CReportPages::ColumnWidths(const ReportTable& table) const {
    std::vector<size_t> weights;
    for (size_t column = 0; column < table.columns.size(); ++column) {
        size_t widest = CodePoints(table.columns[column]);
        for (const auto& row : table.rows)
            if (column < row.size())
                widest = std::max(widest, CodePoints(row[column]));
        weights.push_back(std::clamp<size_t>(widest, 3, kWidestColumnCharacters) + 2);
    }
    const size_t total = std::accumulate(weights.begin(), weights.end(), size_t{0});
    std::vector<int> widths;
    for (size_t weight : weights)
        widths.push_back(static_cast<int>(static_cast<long long>(body_.Width()) *
                                          static_cast<long long>(weight) /
                                          static_cast<long long>(std::max<size_t>(total, 1))));
    return widths;
}

bool CReportPages::Fits(int height) const {
    return body_.top + y_ + height <= body_.bottom;
}

void CReportPages::NewPage() {
    pages_.emplace_back();
    y_ = 0;
}

void CReportPages::Place(ItemKind kind, int height, size_t index, size_t row, bool continued) {
    // A page always takes at least one item, however small the page.
    if (!Fits(height) && !pages_.back().empty())
        NewPage();
    pages_.back().push_back({kind, body_.top + y_, index, row, continued});
    y_ += height;
}

void CReportPages::PlaceTable(size_t table) {
    const ReportTable& contents = report_.tables[table];
    const int opening =
        HeightOf(ItemKind::TableTitle) + HeightOf(ItemKind::Header) + HeightOf(ItemKind::Row);
    if (!Fits(opening) && !pages_.back().empty())
        NewPage();
    Place(ItemKind::TableTitle, HeightOf(ItemKind::TableTitle), table);
    if (contents.rows.empty()) {
        Place(ItemKind::Empty, lineHeight_, table);
        return;
    }
    Place(ItemKind::Header, HeightOf(ItemKind::Header), table);
    for (size_t row = 0; row < contents.rows.size(); ++row) {
        if (!Fits(lineHeight_)) {
            NewPage();
            Place(ItemKind::TableTitle, HeightOf(ItemKind::TableTitle), table, 0, true);
            Place(ItemKind::Header, HeightOf(ItemKind::Header), table);
        }
        Place(ItemKind::Row, lineHeight_, table, row);
    }
}

// The figures from next on that come after the first `tables` tables.
void CReportPages::PlaceFiguresAfter(size_t tables, size_t& next) {
    for (; next < report_.figures.size() && report_.figures[next].afterTable <= tables; ++next) {
        y_ += lineHeight_ / 2;
        Place(ItemKind::Figure, HeightOf(ItemKind::Figure), next);
    }
}

void CReportPages::Paginate() {
    NewPage();
    Place(ItemKind::Title, HeightOf(ItemKind::Title), 0);
    for (size_t line = 0; line < lines_.size(); ++line)
        Place(ItemKind::Line, lineHeight_, line);
    size_t figure = 0;
    for (size_t table = 0; table < report_.tables.size(); ++table) {
        PlaceFiguresAfter(table, figure);
        y_ += lineHeight_ / 2;
        PlaceTable(table);
    }
    PlaceFiguresAfter(SIZE_MAX, figure);
}

void CReportPages::UseFont(IDrawingSurface& surface, int tenths, int weight) const {
    surface.SetFont({kReportFontFace, tenths, 0, weight});
    surface.SetTextColour(kInk);
}

void CReportPages::DrawPage(IDrawingSurface& surface, int page,
                            const FigureDrawer& drawFigure) const {
    if (page < 1 || page > PageCount())
        return;
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    surface.SetTextBackground(kPaper);
    for (const Item& item : pages_[static_cast<size_t>(page - 1)])
        DrawItem(surface, item, drawFigure);
    DrawFooter(surface, page);
}

void CReportPages::DrawItem(IDrawingSurface& surface, const Item& item,
                            const FigureDrawer& drawFigure) const {
    switch (item.kind) {
    case ItemKind::Title:
        UseFont(surface, kTitleTenths, 700);
        surface.TextOut(body_.left, item.y, FitText(surface, report_.title, body_.Width()));
        break;
    case ItemKind::Line:
        UseFont(surface, kBodyTenths, 400);
        surface.TextOut(body_.left, item.y, FitText(surface, lines_[item.index], body_.Width()));
        break;
    case ItemKind::TableTitle: {
        UseFont(surface, kTableTitleTenths, 700);
        const std::string title =
            report_.tables[item.index].title + (item.continued ? kContinuedSuffix : "");
        surface.TextOut(body_.left, item.y + lineHeight_ / 2,
                        FitText(surface, title, body_.Width()));
        break;
    }
    case ItemKind::Header: {
        UseFont(surface, kBodyTenths, 700);
        const ReportTable& table = report_.tables[item.index];
        DrawCells(surface, table, table.columns, item.y);
        surface.SetPen({PenStyle::Solid, std::max(dpi_ / 150, 1), kRule});
        const int ruleY = item.y + lineHeight_ + lineHeight_ / 8;
        surface.MoveTo(body_.left, ruleY);
        surface.LineTo(body_.right, ruleY);
        break;
    }
    case ItemKind::Row:
        UseFont(surface, kBodyTenths, 400);
        DrawCells(surface, report_.tables[item.index], report_.tables[item.index].rows[item.row],
                  item.y);
        break;
    case ItemKind::Empty:
        UseFont(surface, kBodyTenths, 400);
        surface.TextOut(body_.left, item.y,
                        FitText(surface, report_.tables[item.index].emptyText, body_.Width()));
        break;
    case ItemKind::Figure:
        DrawFigure(surface, item, drawFigure);
        break;
    }
}

void CReportPages::DrawFigure(IDrawingSurface& surface, const Item& item,
                              const FigureDrawer& drawFigure) const {
    const ReportFigure& figure = report_.figures[item.index];
    UseFont(surface, kTableTitleTenths, 700);
    surface.TextOut(body_.left, item.y + lineHeight_ / 2,
                    FitText(surface, figure.title, body_.Width()));
    if (!drawFigure)
        return;
    const Rect room{body_.left, item.y + HeightOf(ItemKind::TableTitle), body_.right,
                    item.y + HeightOf(ItemKind::Figure)};
    drawFigure(surface, room, figure);
}

void CReportPages::DrawCells(IDrawingSurface& surface, const ReportTable& table,
                             const std::vector<std::string>& cells, int y) const {
    const std::vector<int>& widths =
        columnWidths_[static_cast<size_t>(&table - &report_.tables[0])];
    const int padding = lineHeight_ * kCellPaddingPercent / 100;
    int x = body_.left;
    for (size_t column = 0; column < widths.size() && column < cells.size(); ++column) {
        const int room = std::max(widths[column] - 2 * padding, 0);
        const std::string text = FitText(surface, cells[column], room);
        const bool right = column < table.rightAligned.size() && table.rightAligned[column];
        const int left = right ? x + padding + room - surface.TextWidth(text) : x + padding;
        surface.TextOut(left, y, text);
        x += widths[column];
    }
}

void CReportPages::DrawFooter(IDrawingSurface& surface, int page) const {
    UseFont(surface, kBodyTenths, 400);
    const int y = body_.bottom + lineHeight_;
    const std::string number =
        "Page " + std::to_string(page) + " of " + std::to_string(PageCount());
    const int numberWidth = surface.TextWidth(number);
    surface.TextOut(body_.right - numberWidth, y, number);
    surface.TextOut(body_.left, y,
                    FitText(surface, report_.title, body_.Width() - numberWidth - lineHeight_));
}

} // namespace mirado

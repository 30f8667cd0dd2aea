#pragma once

#include "memo_text.h"
#include "report_model.h"
#include "shift_tree.h"
#include "text_layout.h"
#include "text_style.h"

#include <memory>
#include <vector>

// The state of a report run over the template's pages, bands and memos (inside the engine).
namespace zreport {

// A memo of a band during the run: its parsed text and its state while the band is shown.
struct MemoRun {
    const TfrxMemoView *memo = nullptr;
    quint32 style = 0;
    TextStyle textStyle;
    QString storedText; // paragraphs separated by '\n'
    bool parsed = false;
    bool hasBrackets = false;
    std::vector<MemoSegment> segments;
    int boundField = -2; // -2: not looked up yet

    // State of one showing; reset from the template every time.
    double top = 0, height = 0;
    QString text;
    std::vector<LaidOutLine> lines;
    bool laidOut = false;
};

// A picture of a band that has an image to show; pictures without one take no part in the run.
struct PictureRun {
    const TfrxPictureView *picture = nullptr;
    quint32 image = 0;
    quint32 style = 0;
    double top = 0; // of the current showing
};

struct BandRun {
    const TfrxBand *band = nullptr;
    std::vector<MemoRun> memos;
    std::vector<PictureRun> pictures;
    ShiftTree shiftTree; // of the memos, then the pictures
    double height = 0;   // as laid out for the current showing
    // Data band links and counters.
    BandRun *header = nullptr;
    BandRun *footer = nullptr;
    BandRun *dataBand = nullptr; // of a header or footer
    int lineNumber = 1;
    int lineThrough = 1;
    bool isData() const { return band->kind() == BandKind::MasterData; }
};

struct PageRun {
    const TfrxReportPage *page = nullptr;
    std::vector<std::unique_ptr<BandRun>> bands; // in band order
    BandRun *title = nullptr;
    BandRun *pageFooter = nullptr;
    std::vector<BandRun *> masterBands;
};

} // namespace zreport

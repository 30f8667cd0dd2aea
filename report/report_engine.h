#pragma once

#include "prepared_report.h"
#include "report_model.h"
#include "report_rows.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// A report run: lays a template out over its datasets' rows into prepared pages.
namespace zreport {

class ReportEngine {
public:
    ReportEngine(const TfrxReport &report, const DataSources &sources);
    ~ReportEngine();
    ReportEngine(const ReportEngine &) = delete;
    ReportEngine &operator=(const ReportEngine &) = delete;

    // Prepares all pages; false when the run did not start, was stopped by an error, or
    // reported errors on the way (pages prepared until then stay).
    bool run();

    const PreparedReport &prepared() const;
    PreparedReport &prepared();
    // Sorted, each message once.
    const QStringList &errors() const;

    // The images pictures show, by name, as their files hold them (the report's own until
    // set here); a picture whose image is missing or unreadable prints nothing and moves
    // nothing.
    void setImages(QHash<QString, QByteArray> images);

    // Stops a run in progress after the current row; the pages prepared so far remain.
    void terminate();
    bool isTerminated() const;
    // Called whenever a page has been finished (with the number of pages so far) and before
    // every data band run, so a window can repaint and let the user stop the run.
    void setProgressHandler(std::function<void(int pagesSoFar)> handler);
    // Lays every page out on this paper and these margins instead of the template's own,
    // which stays as it is (the preview's "apply to all pages").
    void overridePageSettings(const PageSettings &settings) { m_pageSettings = settings; }

private:
    class Run;
    const TfrxReport &m_report;
    DataSources m_sources;
    QHash<QString, QByteArray> m_images;
    PreparedReport m_prepared;
    QStringList m_errors;
    std::atomic<bool> m_terminated{false};
    std::function<void(int)> m_progress;
    std::optional<PageSettings> m_pageSettings;
};

// The text of the message shown when a run ended with errors, and its caption.
QString runErrorsCaption();
QString runErrorsText(const QStringList &errors);

} // namespace zreport

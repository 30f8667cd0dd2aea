#pragma once

#include "report/report_model.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

// The undoable changes of the designer. Each keeps what it needs to go both ways; objects are
// known by their address, which stays while a command that removed them holds them.
namespace zdesigner {

class DesignDocument;

// Objects from one state to another (place, size, any property).
class ChangeObjectsCommand : public QUndoCommand {
public:
    ChangeObjectsCommand(DesignDocument &document, std::vector<zreport::TfrxView *> objects,
                         std::vector<std::unique_ptr<zreport::TfrxView>> before,
                         std::vector<std::unique_ptr<zreport::TfrxView>> after, const QString &text,
                         const QString &mergeKey);
    void undo() override;
    void redo() override;
    int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    void apply(const std::vector<std::unique_ptr<zreport::TfrxView>> &states);

    DesignDocument &m_document;
    std::vector<zreport::TfrxView *> m_objects;
    std::vector<std::unique_ptr<zreport::TfrxView>> m_before, m_after;
    QString m_mergeKey;
};

// Objects put into a band (added, pasted) or taken out of their bands (deleted).
class InsertObjectsCommand : public QUndoCommand {
public:
    struct Entry {
        zreport::TfrxBand *band = nullptr;
        size_t index = 0;
        std::unique_ptr<zreport::TfrxView> held; // while the object is out of its band
        zreport::TfrxView *object = nullptr;
    };
    // `inserting`: redo puts the held objects in; else redo takes them out.
    InsertObjectsCommand(DesignDocument &document, std::vector<Entry> entries, bool inserting,
                         const QString &text);
    void undo() override;
    void redo() override;

private:
    void putIn();
    void takeOut();

    DesignDocument &m_document;
    std::vector<Entry> m_entries;
    bool m_inserting;
};

// An object into another band at the same place on the page (dropped there).
class MoveToBandCommand : public QUndoCommand {
public:
    MoveToBandCommand(DesignDocument &document, zreport::TfrxView *view, zreport::TfrxBand *band);
    void undo() override;
    void redo() override;

private:
    void move(zreport::TfrxBand *from, zreport::TfrxBand *to, size_t index, double top);

    DesignDocument &m_document;
    zreport::TfrxView *m_view;
    zreport::TfrxBand *m_from, *m_to;
    size_t m_index = 0; // in the band it came from
    double m_topBefore, m_topAfter;
};

class BandHeightCommand : public QUndoCommand {
public:
    BandHeightCommand(DesignDocument &document, zreport::TfrxBand *band, double height);
    void undo() override;
    void redo() override;
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    DesignDocument &m_document;
    zreport::TfrxBand *m_band;
    double m_before, m_after;
};

class PageSettingsCommand : public QUndoCommand {
public:
    PageSettingsCommand(DesignDocument &document, zreport::TfrxReportPage *page,
                        const zreport::PageSettings &settings, const QString &text);
    void undo() override;
    void redo() override;

private:
    DesignDocument &m_document;
    zreport::TfrxReportPage *m_page;
    zreport::PageSettings m_before, m_after;
};

} // namespace zdesigner

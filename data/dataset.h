#pragma once

#include "dataset_cursor.h"
#include "fb_connection.h"
#include "field_def.h"
#include "row.h"
#include "row_layout.h"
#include "row_writer.h"
#include "update_sql.h"

#include <QDateTime>
#include <QObject>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// A named, scrollable, editable result set with a current row, read through one select
// statement and written through the four statements of its statement set. Rows are
// fetched as they are needed, so that opening a large table shows its first row at once.
//
// Empty (NULL) values read as 0, the empty text or the day zero; the windows and the
// report engine read every value through this class.
class Dataset : public QObject {
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Handler = std::function<void()>;
    // Gives a look-up field's value from the value of this dataset's key field.
    using LookupResolver = std::function<QVariant(const QVariant &key)>;

    Dataset(FbTransaction &transaction, const QString &name, QObject *parent = nullptr);
    ~Dataset() override;

    // Configuration, done by the data module once.
    void setFields(std::vector<FieldDef> fields);
    void setKeyGenerator(const QString &generator) { m_generator = generator; }
    void setUpdateSql(const UpdateSql *statements);
    // Whenever the master's current row changes, this dataset re-runs its select with
    // the parameter KOD bound to the master's KOD.
    void setMaster(Dataset *master);
    Dataset *master() const { return m_master; }
    void setNewRecordHandler(Handler handler) { m_onNewRecord = std::move(handler); }
    void setCalcFieldsHandler(Handler handler) { m_onCalcFields = std::move(handler); }
    void setFieldChangeHandler(const QString &field, Handler handler);
    void setLookupResolver(const QString &field, const QString &keyField, LookupResolver resolver);
    // Names the current row in the messages about other users' changes ("Клиент: ТОО …").
    void setRecordTitle(std::function<QString()> title) { m_recordTitle = std::move(title); }

    // The select statement may only be replaced while the dataset is closed. Named
    // parameters other than a detail's KOD take their values from parameters.
    void setSelectSql(const QString &sql, const QVariantMap &parameters = {});
    const QString &selectSql() const { return m_selectSql; }
    const QVariantMap &selectParameters() const { return m_selectParameters; }

    // Opening and state
    void open();
    void close();
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }

    // Navigation. Moving away from a row being edited posts it when it was changed and
    // drops it when it was not.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;
    // Makes the row whose KOD equals kod current; when none does, nothing changes.
    bool locate(qint64 kod);
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);

    // Rows fetched so far (the rows a grid can show), and fetching further.
    int rowCount() const { return int(m_records.size()); }
    bool canFetchMore() const;
    void fetchMore(int count);
    // Every row of the result; fetches them all.
    int recordCount();

    // Fields
    int fieldCount() const { return int(m_layout.fields.size()); }
    const FieldDef &field(int index) const { return m_layout.fields[size_t(index)]; }
    const FieldDef &field(const QString &name) const;
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    void setFieldVisible(const QString &name, bool visible);

    // Values of the current row (of the row being edited, while editing).
    QVariant value(const QString &name) const;
    bool isNull(const QString &name) const { return value(name).isNull(); }
    qint64 asInteger(const QString &name) const;
    double asFloat(const QString &name) const;
    QString asString(const QString &name) const;
    QDateTime asDateTime(const QString &name) const;
    QString displayText(const QString &name) const;

    // Values of any fetched row, for grids.
    QVariant valueAt(int row, int fieldIndex) const;
    QString displayTextAt(int row, int fieldIndex) const;

    // Assignments, allowed while editing or inserting. Each runs the field's change
    // handler. The empty text stores NULL in a numeric or date field; a text that is not
    // a value of the field's type throws DbError and changes nothing.
    void setValue(const QString &name, const QVariant &value);
    void setAsString(const QString &name, const QString &text);
    void clear(const QString &name) { setValue(name, QVariant()); }

    // Editing
    void insert();
    void append();
    void edit();
    void post();
    void cancel();
    void remove();
    // Deletes every row (a pending insertion or change is dropped first).
    void removeAll();
    // Posts a changed row and drops an unchanged one.
    void checkBrowseMode();
    // Reads the current row again as it is stored now, so that an edit starts from other users'
    // latest committed change; throws DbError when another user has deleted it.
    void refreshCurrentRow();
    // Closes the dataset and lets go of its prepared statements, which belong to the connection:
    // before the connection itself goes.
    void releaseStatements();

Q_SIGNALS:
    void aboutToReset();
    void reset();
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted();
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved();
    void rowChanged(int row);
    void currentChanged(int row);
    void stateChanged();
    void fieldsChanged();

private:
    struct Record {
        Row data;
        mutable std::unique_ptr<std::vector<QVariant>> calculated;
        Record() = default;
        explicit Record(int columns) : data(columns) {}
        explicit Record(Row row) : data(std::move(row)) {}
        Record(const Record &other) : data(other.data) {}
        Record &operator=(const Record &other)
        {
            data = other.data;
            calculated.reset();
            return *this;
        }
        Record(Record &&) = default;
        Record &operator=(Record &&) = default;
    };

    const Record *currentRecord() const;
    Record *writableRecord();
    const Record &recordAt(int row) const;
    QVariant storedValue(const Record &record, int fieldIndex) const;
    QVariant calculatedValue(const Record &record, int fieldIndex) const;
    QVariant recordValue(const Record &record, int fieldIndex) const;
    void storeValue(Record &record, int fieldIndex, const QVariant &value);
    void requireEditing(const QString &field) const;
    void requireActive() const;

    void execute();
    bool ensureRow(int index);
    void fetchAll();
    void closeCursor();
    void moveTo(int index);
    void setState(State state);
    void prepareNewRecord(int position);
    void onMasterChanged();
    // Runs work; a conflict with another user's change it meets names the current row.
    void namingConflicts(const std::function<void()> &work);
    // Runs the select again and makes its first row current; on failure the dataset is left
    // without rows in `stateOnFailure` and the error passes on.
    void requery(State stateOnFailure);
    // Tells the views and refreshes the details after the current row changed.
    void currentRowChanged();
    // Takes the current row out of the list; the next row, else the previous, becomes current.
    void dropCurrentRow();
    void computeCalculated(const Record &record) const;
    int fetchRows(int count);

    FbTransaction &m_transaction;
    RowLayout m_layout;
    std::vector<int> m_calcSlot; // field index -> calculated slot, or -1
    int m_calcCount = 0;

    QString m_generator;
    const UpdateSql *m_updateSql = nullptr;
    Dataset *m_master = nullptr;
    Handler m_onNewRecord;
    Handler m_onCalcFields;
    std::map<int, Handler> m_onFieldChange;
    struct Lookup {
        int keyField;
        LookupResolver resolve;
    };
    std::map<int, Lookup> m_lookups;
    std::vector<Dataset *> m_details;

    QString m_selectSql;
    QVariantMap m_selectParameters;
    DatasetCursor m_cursor;
    bool m_resetting = false; // rows change inside aboutToReset/reset, not row by row
    RowWriter m_writer;
    std::function<QString()> m_recordTitle;

    std::vector<Record> m_records;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    State m_state = State::Inactive;
    std::unique_ptr<Record> m_buffer; // the row being edited or inserted
    bool m_modified = false;

    // While the calculation handler runs, reads come from the record being calculated
    // and assignments to calculated fields go into it.
    mutable const Record *m_calcRecord = nullptr;
};

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tess::workspace {

// Told of every change of a photo table, so that a grid can follow it.
class PhotoTableObserver {
public:
    virtual ~PhotoTableObserver() = default;
    virtual void tableReset() = 0;           // closed, opened or rebuilt
    virtual void rowInserted(int index) = 0; // 0-based
    virtual void rowAboutToBeRemoved(int index) = 0;
    virtual void rowRemoved(int index) = 0;
    virtual void rowChanged(int index) = 0;  // a field was posted
    virtual void cursorMoved(int index) = 0; // -1 for none
    virtual void controlsResumed() = 0;      // the last suspension ended
};

// The in-memory list behind a grid: one row per listed file, in the order appended, with a
// cursor. It raises the after-scroll notification on every move of its cursor: a move to the
// first row (also when empty), a move by one or more rows, the first attempt to move on from
// the last row, an append and a delete. Opening, editing and posting raise none.
class PhotoTable {
public:
    static constexpr std::size_t kMaxNameLength = 255; // characters

    struct Row {
        std::string nomeFoto;
        std::int16_t selezionato = 0;
    };

    void setAfterScroll(std::function<void()> handler) { m_afterScroll = std::move(handler); }
    void setObserver(PhotoTableObserver* observer) { m_observer = observer; }

    // Discards every row; a closed table holds none.
    void close();
    // Opens the table empty.
    void open();
    bool isOpen() const { return m_open; }

    // Appends a row at the end and makes it current; the after-scroll notification runs while
    // its name is still empty, then the fields are set and posted. A name longer than
    // kMaxNameLength characters is cut.
    void append(const std::string& nomeFoto, std::int16_t selezionato = 0);

    void first();
    // Moves on by one row; at the last row sets the end-of-table state (notifying only the
    // first time) and stays there.
    void next();
    // Makes `index` (0-based) current; a move to the row already current does nothing.
    void moveTo(int index);
    // Makes current the first row whose name equals `name` exactly; false, and no move, when
    // no row has it.
    bool locate(const std::string& name);
    // Deletes the current row; the row after it (or the new last row) becomes current.
    void deleteCurrent();

    bool eof() const { return m_eof; }
    bool isEmpty() const { return m_rows.empty(); }
    int rowCount() const { return int(m_rows.size()); }
    int currentIndex() const { return m_current; } // -1 when empty
    int recNo() const { return m_current + 1; }    // 1-based, 0 when empty

    // Fields of the current row; an empty table reads as an empty name and a 0 mark.
    std::string currentName() const;
    std::int16_t currentMark() const;
    // Writes the mark of the current row and posts it (an empty table is left as it is).
    void setCurrentMark(std::int16_t mark);

    const Row& row(int index) const { return m_rows.at(std::size_t(index)); }

    // Suspends the grid's updating; suspensions nest.
    void disableControls() { ++m_disabled; }
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

private:
    void scrolled();

    std::vector<Row> m_rows;
    int m_current = -1;
    bool m_open = false;
    bool m_eof = true;
    int m_disabled = 0;
    std::function<void()> m_afterScroll;
    PhotoTableObserver* m_observer = nullptr;
};

// Suspends a table's grid for as long as it lives, so that the grid keeps showing its table
// however the work in between ends.
class ControlsSuspension {
public:
    explicit ControlsSuspension(PhotoTable& table) : m_table(table) { m_table.disableControls(); }
    ~ControlsSuspension() { m_table.enableControls(); }
    ControlsSuspension(const ControlsSuspension&) = delete;
    ControlsSuspension& operator=(const ControlsSuspension&) = delete;

private:
    PhotoTable& m_table;
};

} // namespace tess::workspace

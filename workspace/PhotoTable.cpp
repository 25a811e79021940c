#include "workspace/PhotoTable.h"

#include <algorithm>

namespace tess::workspace {
namespace {

// Cuts UTF-8 text after `limit` characters, never inside a character.
std::string cutCharacters(const std::string& text, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (count == limit)
                return text.substr(0, i);
            ++count;
        }
    }
    return text;
}

} // namespace

void PhotoTable::close() {
    m_rows.clear();
    m_current = -1;
    m_open = false;
    m_eof = true;
    if (m_observer)
        m_observer->tableReset();
}

void PhotoTable::open() {
    m_rows.clear();
    m_current = -1;
    m_open = true;
    m_eof = true;
    if (m_observer)
        m_observer->tableReset();
}

void PhotoTable::append(const std::string& nomeFoto, std::int16_t selezionato) {
    m_rows.push_back(Row{});
    m_current = rowCount() - 1;
    m_eof = false;
    if (m_observer) {
        m_observer->rowInserted(m_current);
        m_observer->cursorMoved(m_current);
    }
    scrolled();
    // The handler may have moved the cursor; the posted fields belong to the appended row.
    const int index = rowCount() - 1;
    m_rows[std::size_t(index)] = Row{cutCharacters(nomeFoto, kMaxNameLength), selezionato};
    if (m_observer)
        m_observer->rowChanged(index);
}

void PhotoTable::first() {
    m_current = m_rows.empty() ? -1 : 0;
    m_eof = m_rows.empty();
    if (m_observer)
        m_observer->cursorMoved(m_current);
    scrolled();
}

void PhotoTable::next() {
    if (m_rows.empty() || m_current + 1 >= rowCount()) {
        if (m_eof)
            return;
        m_eof = true;
        scrolled();
        return;
    }
    ++m_current;
    m_eof = false;
    if (m_observer)
        m_observer->cursorMoved(m_current);
    scrolled();
}

void PhotoTable::moveTo(int index) {
    if (index < 0 || index >= rowCount() || index == m_current)
        return;
    m_current = index;
    m_eof = false;
    if (m_observer)
        m_observer->cursorMoved(m_current);
    scrolled();
}

bool PhotoTable::locate(const std::string& name) {
    for (int i = 0; i < rowCount(); ++i) {
        if (m_rows[std::size_t(i)].nomeFoto == name) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

void PhotoTable::deleteCurrent() {
    if (m_current < 0)
        return;
    const int removed = m_current;
    if (m_observer)
        m_observer->rowAboutToBeRemoved(removed);
    m_rows.erase(m_rows.begin() + removed);
    if (m_observer)
        m_observer->rowRemoved(removed);
    m_current = m_rows.empty() ? -1 : std::min(removed, rowCount() - 1);
    m_eof = m_rows.empty();
    if (m_observer)
        m_observer->cursorMoved(m_current);
    scrolled();
}

std::string PhotoTable::currentName() const {
    return m_current < 0 ? std::string() : m_rows[std::size_t(m_current)].nomeFoto;
}

std::int16_t PhotoTable::currentMark() const {
    return m_current < 0 ? 0 : m_rows[std::size_t(m_current)].selezionato;
}

void PhotoTable::setCurrentMark(std::int16_t mark) {
    if (m_current < 0)
        return;
    m_rows[std::size_t(m_current)].selezionato = mark;
    if (m_observer)
        m_observer->rowChanged(m_current);
}

void PhotoTable::enableControls() {
    if (m_disabled > 0 && --m_disabled == 0 && m_observer)
        m_observer->controlsResumed();
}

void PhotoTable::scrolled() {
    if (m_afterScroll)
        m_afterScroll();
}

} // namespace tess::workspace

#include "imaging/picture_errors.h"

#include <vips/vips.h>

#include <mutex>
#include <set>

namespace corvelle {

struct PictureErrors::State {
    bool overlapped = false;  // another picture was under way meanwhile
};

namespace {

std::mutex g_mutex;
std::set<PictureErrors::State*> g_active;
thread_local PictureErrors::State* t_current = nullptr;

// The library's lines, each led by the operation's name, on one line.
std::string oneLine(const char* text) {
    std::string line;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c != '\n')
            line += *c;
        else if (!line.empty() && line.back() != ' ')
            line += "; ";
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == ';')) line.pop_back();
    return line;
}

}  // namespace

PictureErrors::PictureErrors() {
    if (t_current != nullptr) {
        m_state = t_current;
        return;
    }
    m_outer = true;
    m_state = new State;
    t_current = m_state;
    std::lock_guard lock(g_mutex);
    // The buffer holds nothing of ours yet; what it holds may be left by earlier work.
    if (g_active.empty()) vips_error_clear();
    for (State* other : g_active) other->overlapped = true;
    if (!g_active.empty()) m_state->overlapped = true;
    g_active.insert(m_state);
}

PictureErrors::~PictureErrors() {
    if (!m_outer) return;
    {
        std::lock_guard lock(g_mutex);
        g_active.erase(m_state);
        if (g_active.empty()) vips_error_clear();
    }
    t_current = nullptr;
    delete m_state;
}

std::string PictureErrors::reason(const std::string& ownWords) {
    std::string library;
    {
        std::lock_guard lock(g_mutex);
        if (!m_state->overlapped) library = oneLine(vips_error_buffer());
        if (g_active.size() == 1) vips_error_clear();
    }
    return library.empty() ? ownWords : ownWords + " (" + library + ")";
}

}  // namespace corvelle

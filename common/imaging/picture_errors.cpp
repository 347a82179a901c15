#include "imaging/picture_errors.h"

#include <vips/vips8>

#include <condition_variable>
#include <mutex>
#include <set>

namespace corvelle {

struct PictureErrors::State {
    bool overlapped = false;  // another picture was under way meanwhile
};

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
std::set<PictureErrors::State*> g_active;  // the pictures whose work is under way
bool g_alone = false;                      // a picture is learning its reason alone
thread_local PictureErrors::State* t_current = nullptr;

// Takes g_mutex held.
void join(PictureErrors::State* state) {
    // The buffer holds nothing of ours yet; what it holds may be left by earlier work.
    if (g_active.empty()) vips_error_clear();
    for (PictureErrors::State* other : g_active) other->overlapped = true;
    state->overlapped = !g_active.empty();
    g_active.insert(state);
}

// Takes g_mutex held.
void leave(PictureErrors::State* state) {
    g_active.erase(state);
    if (g_active.empty()) vips_error_clear();
    g_changed.notify_all();
}

// The library's lines, each led by the operation's name, on one line.
std::string oneLine(const char* text) {
    std::string line;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == ' ' && line.ends_with("; "))
            continue;  // a continued line's indent
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
    std::unique_lock lock(g_mutex);
    g_changed.wait(lock, [] { return !g_alone; });
    join(m_state);
}

PictureErrors::~PictureErrors() {
    if (!m_outer) return;
    {
        std::lock_guard lock(g_mutex);
        leave(m_state);
    }
    t_current = nullptr;
    delete m_state;
}

std::string PictureErrors::reason(const std::string& ownWords, const std::function<void()>& again) {
    std::unique_lock lock(g_mutex);
    std::string library;
    if (!m_state->overlapped) {
        library = oneLine(vips_error_buffer());
        if (g_active.size() == 1) vips_error_clear();
    } else if (again) {
        // Out of the way while waiting, so that two pictures learning their reasons do not
        // wait for each other; then alone, with the others' work paused.
        leave(m_state);
        g_changed.wait(lock, [] { return !g_alone; });
        g_alone = true;
        g_changed.wait(lock, [] { return g_active.empty(); });
        vips_error_clear();
        lock.unlock();
        try {
            again();
        } catch (const vips::VError&) {
        }
        lock.lock();
        library = oneLine(vips_error_buffer());
        vips_error_clear();
        g_alone = false;
        join(m_state);
        g_changed.notify_all();
    }
    return library.empty() ? ownWords : library;
}

}  // namespace corvelle

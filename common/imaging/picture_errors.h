#pragma once

#include <functional>
#include <string>

namespace corvelle {

// The imaging library keeps one error buffer for the whole process, and every worker of a
// run writes into it. A picture's failure may be told in the library's words only when no
// other picture was under way in the meantime; otherwise those words could be another
// picture's. One of these spans the work on one picture (nested ones in the same thread
// are the outer one). Work that may wait for other pictures (for memory, say) must not be
// spanned, since a picture learning its reason alone waits for the others' spans to end.
class PictureErrors {
  public:
    PictureErrors();
    ~PictureErrors();
    PictureErrors(const PictureErrors&) = delete;
    PictureErrors& operator=(const PictureErrors&) = delete;

    // The library's words when it had any that are surely this picture's, else ownWords
    // ("not a readable PNG picture"), so that no reason is ever empty. When other
    // pictures were under way, `again` (the failed work once more) is run alone, with
    // every other picture's work paused, to learn the words; without it they are left out.
    std::string reason(const std::string& ownWords, const std::function<void()>& again = {});

    struct State;

  private:
    State* m_state = nullptr;
    bool m_outer = false;
};

}  // namespace corvelle

#pragma once

#include <string>

namespace corvelle {

// The imaging library keeps one error buffer for the whole process, and every worker of a
// run writes into it. A picture's failure may be told in the library's words only when no
// other picture was under way in the meantime; otherwise those words could be another
// picture's. One of these spans the work on one picture (nested ones in the same thread
// are the outer one).
class PictureErrors {
  public:
    PictureErrors();
    ~PictureErrors();
    PictureErrors(const PictureErrors&) = delete;
    PictureErrors& operator=(const PictureErrors&) = delete;

    // ownWords, followed by the library's words in brackets when they are surely this
    // picture's and it had any: "not a readable PNG picture (libpng read error)".
    std::string reason(const std::string& ownWords);

    struct State;

  private:
    State* m_state = nullptr;
    bool m_outer = false;
};

}  // namespace corvelle

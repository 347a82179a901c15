#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "core/decoding/decode_budget.h"
#include "core/decoding/picture_size.h"
#include "core/packed_dib.h"
#include "jpeg/jpeg_decoder.h"

namespace corvelle {

// A picture decoded within the process's byte budget.
struct BudgetedPicture {
    std::optional<PackedDib> picture;
    std::shared_ptr<DecodeBudget::Claim> claim;  // the picture's bytes, held while it lives
    std::string problem;  // "too large (W x H, N MB)" when the budget left no room for it
};

// What decoding the file will take, from its header, for the pictures whose size is read
// before decoding (JPEG, TIFF, PNG, WebP); none for the rest (a raw file's preview, a CR3's,
// a HEIF picture), which decode within what is left.
std::optional<PictureSize> ProbePictureSize(const std::string& path);

// Who wants the picture. The picture to be shown is decoded whenever the budget could hold
// it alone: what else is held (the picture it replaces, the neighbours decoded ahead) is
// about to go. A picture decoded ahead must fit beside everything held.
enum class BudgetUse { kShown, kAhead };

// Decodes the picture as DecodePicture does once its bytes, and those of the copies the
// decoder holds while it runs, are claimed from the budget; a picture that does not fit is
// not decoded.
BudgetedPicture DecodePictureWithinBudget(const std::string& path, DecodeBudget& budget,
                                          BudgetUse use = BudgetUse::kShown,
                                          const JpegMessageSink& messages = {},
                                          const std::atomic<bool>* abandoned = nullptr);

}  // namespace corvelle

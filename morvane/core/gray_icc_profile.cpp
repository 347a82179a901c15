#include "core/gray_icc_profile.h"

#include <lcms2.h>

namespace corvelle {

namespace {

// Header bytes 24..35: year, month, day, hours, minutes, seconds, each 16 bits big-endian.
constexpr size_t kCreationDateAt = 24;
constexpr uint16_t kCreationDate[6] = {2026, 1, 1, 0, 0, 0};

void WriteText(cmsHPROFILE profile, cmsTagSignature tag, const char* text) {
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(mlu, "en", "US", text);
    cmsWriteTag(profile, tag, mlu);
    cmsMLUfree(mlu);
}

std::vector<uint8_t> MakeProfile() {
    // sRGB's curve: Y = ((X + 0.055) / 1.055)^2.4 above 0.04045, X / 12.92 below.
    const cmsFloat64Number srgb[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgb);
    cmsHPROFILE profile = curve != nullptr ? cmsCreateGrayProfile(cmsD50_xyY(), curve) : nullptr;
    std::vector<uint8_t> bytes;
    if (profile != nullptr) {
        WriteText(profile, cmsSigProfileDescriptionTag, "Gray, sRGB tone curve");
        WriteText(profile, cmsSigCopyrightTag, "No copyright, use freely");
        cmsUInt32Number size = 0;
        if (cmsSaveProfileToMem(profile, nullptr, &size) && size > kCreationDateAt + 12) {
            bytes.resize(size);
            if (!cmsSaveProfileToMem(profile, bytes.data(), &size)) bytes.clear();
        }
        cmsCloseProfile(profile);
    }
    if (curve != nullptr) cmsFreeToneCurve(curve);
    for (size_t i = 0; i < 6 && !bytes.empty(); ++i) {
        bytes[kCreationDateAt + 2 * i] = uint8_t(kCreationDate[i] >> 8);
        bytes[kCreationDateAt + 2 * i + 1] = uint8_t(kCreationDate[i]);
    }
    return bytes;
}

}  // namespace

const std::vector<uint8_t>& GrayIccProfile() {
    static const std::vector<uint8_t> profile = MakeProfile();
    return profile;
}

}  // namespace corvelle

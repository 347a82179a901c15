#include "core/read_me.h"

#include <cstring>
#include <filesystem>
#include <span>
#include <system_error>

#include "core/safe_file.h"
#include "core/settings_store.h"

namespace corvelle {

const char* const kBrevollReadMe =
    "Brevoll Ver 1.4(Build 14) 사용 안내\n"
    "\n"
    "원본 폴더(와 그 하위 폴더)의 JPEG 사진을 한번에 줄여서 대상 폴더에 같은 폴더 구조로 "
    "저장합니다. 원본 사진은 바뀌지 않습니다.\n"
    "\n"
    "[ Resize Method ]\n"
    "  Ratio : 가로세로를 입력한 비율(1~100%)로 줄입니다.\n"
    "  Pixel : 가로세로 중 긴 쪽이 입력한 픽셀 수(10~10000)가 되도록 줄입니다.\n"
    "  Bound : 입력한 가로 x 세로 상자 안에 들어가도록 줄입니다. Fit to Bound를 켜면 사진이 "
    "상자보다 작아도 상자에 맞춥니다.\n"
    "\n"
    "[ Image Path ]\n"
    "  Source : 줄일 사진이 있는 폴더입니다. ... 단추로 폴더를 고를 수 있습니다.\n"
    "  Destination : 줄인 사진을 저장할 폴더입니다. 원본 폴더의 하위 폴더 구조가 그대로 "
    "만들어집니다. 원본 폴더 안에 있으면 그 폴더는 원본으로 읽지 않습니다.\n"
    "  Naming : 켜면 파일 이름 앞(Prefix)과 뒤(Postfix)에 입력한 글자를 붙입니다.\n"
    "\n"
    "[ Border ]\n"
    "  Color Border : 사진 둘레에 테두리를 그립니다. 색은 RRGGBB 16진수로, Margin은 "
    "테두리 두께(0~50 픽셀)입니다.\n"
    "  Image Border : 이 버전에서는 쓸 수 없습니다.\n"
    "\n"
    "[ Time Stamp ]\n"
    "  Position : 촬영 날짜를 찍을 위치입니다. None이면 찍지 않습니다.\n"
    "  Method : 날짜 형식입니다. %Y 연도, %m 월, %d 일, %H 시, %M 분, %S 초, %x 날짜, "
    "%X 시각처럼 strftime 형식을 씁니다. 목록에 없는 형식도 직접 입력할 수 있습니다.\n"
    "  Color : 글자 색(16진수)입니다.\n"
    "  Semi-Transparent : 글자를 반투명하게 찍습니다.\n"
    "  Font Size, Font : 글자 크기와 글꼴입니다. 글꼴이 설치되어 있지 않으면 Times New "
    "Roman(또는 그와 비슷한 글꼴)을 씁니다.\n"
    "  촬영 날짜는 사진의 EXIF 정보에서 읽습니다. 날짜가 없는 사진에는 찍지 않습니다.\n"
    "\n"
    "[ Options ]\n"
    "  Recursive : 하위 폴더의 사진도 줄입니다.\n"
    "  Sampling Method : 줄일 때의 보간 방법입니다. HighQuality 계열이 가장 깨끗하고 "
    "NearestNeighbor가 가장 빠릅니다.\n"
    "  Copy Exif info : 촬영 정보(EXIF), 색 프로파일, XMP, IPTC와 설명글(저작권, "
    "캡션)을 그대로 옮깁니다.\n"
    "  Compress Ratio : JPEG 저장 품질(10~100%)입니다.\n"
    "  All picture types : JPG 말고도 JPEG, HEIC, HEIF, AVIF, PNG, WebP, TIFF 사진을 "
    "줄여 JPG 파일로 저장합니다. 끄면 이름에 .jpg가 들어간 파일만 줄입니다.\n"
    "\n"
    "[ 단추 ]\n"
    "  Go resize : 변환 창을 엽니다. Start로 시작하고 Stop으로 멈추며 Continue로 "
    "이어서 합니다. 같은 이름의 파일이 이미 있으면 덮어쓸지 묻습니다. 변환하지 못한 "
    "사진이 있으면 Failures... 단추로 그 목록과 까닭을 볼 수 있습니다.\n"
    "  Close : 설정을 저장하고 끝냅니다.\n"
    "\n"
    "변환 도중 프로그램이 비정상적으로 끝나면 다음 실행 때 Error.txt에 내용을 적고 "
    "알려드립니다.\n";

std::string ReadMePath() { return DataHomeFolder() + "/Corvelle/Brevoll/readme.txt"; }

bool WriteReadMe(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const auto* text = reinterpret_cast<const uint8_t*>(kBrevollReadMe);
    return WriteFileReplacing(path, std::span<const uint8_t>(text, std::strlen(kBrevollReadMe)));
}

}  // namespace corvelle

// Temporary stand-in for the picture converter, used only while imaging/PcxImage.cpp is absent.
#include "catalogue/ResourceError.h"
#include "imaging/PcxImage.h"

namespace brasvel {

PcxInfo readPcxInfo(Bytes) {
    throw ResourceError("Picture conversion not yet available");
}
ConvertedPicture Conv(Bytes) {
    throw ResourceError("Picture conversion not yet available");
}

}  // namespace brasvel

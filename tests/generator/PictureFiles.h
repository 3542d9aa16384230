#pragma once

#include <string>

#include <vips/vips.h>

#include "generator/CVips.h"

// Test pictures made with libvips: noise of a size in a format, optionally
// with an EXIF orientation, a location and a camera name.
struct CTestPicture {
    int nWidth = 64;
    int nHeight = 48;
    const char* pszSuffix = ".jpg";
    int nOrientation = 1;
    bool bGps = false;

    std::string Make() const
    {
        CVips::Start();
        CVipsImage noise;
        CVipsImage rgb;
        CVipsImage bytes;
        vips_gaussnoise(noise.Out(), nWidth, nHeight, "mean", 128.0, "sigma", 30.0, nullptr);
        VipsImage* bands[3] = { noise.Get(), noise.Get(), noise.Get() };
        vips_bandjoin(bands, rgb.Out(), 3, nullptr);
        vips_cast_uchar(rgb.Get(), bytes.Out(), nullptr);
        if (nOrientation != 1)
            vips_image_set_int(bytes.Get(), VIPS_META_ORIENTATION, nOrientation);
        if (bGps) {
            vips_image_set_string(bytes.Get(), "exif-ifd3-GPSLatitudeRef", "N");
            vips_image_set_string(bytes.Get(), "exif-ifd3-GPSLatitude", "52/1 30/1 0/1");
            vips_image_set_string(bytes.Get(), "exif-ifd0-Make", "TestCam");
        }
        void* pBuffer = nullptr;
        size_t nSize = 0;
        vips_image_write_to_buffer(bytes.Get(), pszSuffix, &pBuffer, &nSize, nullptr);
        std::string result(static_cast<const char*>(pBuffer), nSize);
        g_free(pBuffer);
        return result;
    }
};

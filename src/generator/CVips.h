#pragma once

#include <utility>

#include <vips/vips.h>

// libvips, started once per process, and an owner of its images.
class CVips {
public:
    // Starts libvips on first use (safe from any thread); false when it
    // cannot start.
    static bool Start();
};

// Unreferences a libvips image when it goes.
class CVipsImage {
public:
    CVipsImage() = default;
    explicit CVipsImage(VipsImage* pImage)
        : m_pImage(pImage)
    { }
    ~CVipsImage()
    {
        if (m_pImage != nullptr)
            g_object_unref(m_pImage);
    }
    CVipsImage(const CVipsImage&) = delete;
    CVipsImage& operator=(const CVipsImage&) = delete;
    CVipsImage(CVipsImage&& other) noexcept
        : m_pImage(other.m_pImage)
    {
        other.m_pImage = nullptr;
    }
    CVipsImage& operator=(CVipsImage&& other) noexcept
    {
        std::swap(m_pImage, other.m_pImage);
        return *this;
    }

    VipsImage* Get() const { return m_pImage; }
    // Where a libvips call puts its result; any earlier image is given up.
    VipsImage** Out()
    {
        if (m_pImage != nullptr)
            g_object_unref(m_pImage);
        m_pImage = nullptr;
        return &m_pImage;
    }

private:
    VipsImage* m_pImage = nullptr;
};

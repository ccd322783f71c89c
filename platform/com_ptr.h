// Owner of one COM interface pointer.
#pragma once

#include <unknwn.h>

#include <utility>

namespace platform {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For functions that hand out a new reference through T**.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void reset(T* p = nullptr) noexcept {
        if (p_) p_->Release();
        p_ = p;
    }

private:
    T* p_ = nullptr;
};

}  // namespace platform

// Host service object: the one interface through which the module reaches the
// store database and the chain's central services.
#pragma once

#include <QVariant>
#include <QVariantList>

#include <atomic>

namespace qiantai {

// Late-bound host interface. Every operation is addressed by its DISPID
// (dispids.h); by-reference arguments are written back into `args`. An
// operation answers a Boolean (true = done); a refusal puts its text (a string
// or a list of strings) into the last by-reference argument.
class ICoorDisp {
public:
    virtual void addRef() = 0;
    virtual void release() = 0;
    virtual QVariant invoke(int dispId, QVariantList& args) = 0;

protected:
    virtual ~ICoorDisp() = default;
};

// Intrusive reference count for implementations; the object deletes itself
// when the last reference is released. Starts with one reference.
class RefCountedCoorDisp : public ICoorDisp {
public:
    void addRef() override { refs_.fetch_add(1, std::memory_order_relaxed); }
    void release() override
    {
        if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    int refCount() const { return refs_.load(std::memory_order_relaxed); }

private:
    std::atomic<int> refs_{1};
};

// Owning smart reference on an ICoorDisp.
class CoorDispRef {
public:
    CoorDispRef() = default;
    explicit CoorDispRef(ICoorDisp* p) : p_(p)
    {
        if (p_)
            p_->addRef();
    }
    CoorDispRef(const CoorDispRef& o) : CoorDispRef(o.p_) {}
    CoorDispRef& operator=(const CoorDispRef& o)
    {
        reset(o.p_);
        return *this;
    }
    ~CoorDispRef() { reset(nullptr); }
    void reset(ICoorDisp* p)
    {
        if (p)
            p->addRef();
        if (p_)
            p_->release();
        p_ = p;
    }
    ICoorDisp* get() const { return p_; }
    ICoorDisp* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    ICoorDisp* p_ = nullptr;
};

} // namespace qiantai

// pvector<T>: an owning array of heap pointers, shared by the image stores and the
// archive writer. It grows by exactly one element per Add, deletes what it holds, and
// is never copied.
#pragma once

#include <cstdlib>
#include <new>

template <class T>
class pvector {
public:
  pvector() = default;
  pvector(const pvector&) = delete;
  pvector& operator=(const pvector&) = delete;
  virtual ~pvector() { clear(); }

  // Appends p (taking ownership). On allocation failure p is deleted and false is
  // returned, so the caller never leaks what it handed over.
  bool Add(T* p) {
    T** grown = static_cast<T**>(std::realloc(items_, sizeof(T*) * static_cast<size_t>(count_ + 1)));
    if (!grown) {
      delete p;
      return false;
    }
    items_ = grown;
    items_[count_++] = p;
    return true;
  }

  // Deletes element i and stores p in its place.
  void SetAt(int i, T* p) {
    delete items_[i];
    items_[i] = p;
  }

  void clear() {
    for (int i = 0; i < count_; ++i) delete items_[i];
    std::free(items_);
    items_ = nullptr;
    count_ = 0;
  }

  T* operator[](int i) const { return items_[i]; }  // no range check: callers check
  int GetSize() const { return count_; }

private:
  T** items_ = nullptr;
  int count_ = 0;
};

#include "objectmodel/KORExtension.h"

#include "objectmodel/KORImplementation.h"

#include <algorithm>
#include <cstdint>

KORBaseUnknown* KORExtension::GetImpl() const {
  return _object ? _object->Identity() : nullptr;
}

HRESULT KORExtension::ExtensionQueryInterface(const KORIID& iIID, void** oObject) {
  if (!oObject)
    return E_INVALIDARG;
  // Another interface of this same extension first, then the object.
  if (!(iIID == KORBaseUnknown::IID)) {
    if (void* own = CastTo(iIID)) {
      *oObject = own;
      ExtensionAddRef();
      return S_OK;
    }
  }
  return _object->ImplementationQueryInterface(iIID, oObject);
}

unsigned long KORExtension::ExtensionAddRef() {
  return _object->ImplementationAddRef();
}

unsigned long KORExtension::ExtensionRelease() {
  return _object->ImplementationRelease();
}

// A block's room follows its header.
struct KORExtensionArena::Block {
  Block* older;
};

namespace {
constexpr std::size_t kBlockBytes = 256;
constexpr std::size_t kBlockHeader = (sizeof(void*) + alignof(std::max_align_t) - 1) /
                                     alignof(std::max_align_t) * alignof(std::max_align_t);

// How far iPlace must move to be aligned on iAlignment (a power of two).
std::size_t Padding(const std::byte* iPlace, std::size_t iAlignment) {
  const auto address = reinterpret_cast<std::uintptr_t>(iPlace);
  return (iAlignment - address % iAlignment) % iAlignment;
}
} // namespace

KORExtensionArena::~KORExtensionArena() {
  while (Block* block = _blocks) {
    _blocks = block->older;
    ::operator delete(static_cast<void*>(block));
  }
}

void* KORExtensionArena::Allocate(std::size_t iSize, std::size_t iAlignment) {
  std::size_t padding = Padding(_free, iAlignment);
  if (padding + iSize > _left) {
    const std::size_t room = std::max(kBlockBytes, iSize);
    auto* block = static_cast<Block*>(::operator new(kBlockHeader + room));
    block->older = _blocks;
    _blocks = block;
    _free = reinterpret_cast<std::byte*>(block) + kBlockHeader;
    _left = room;
    padding = 0;
  }
  std::byte* place = _free + padding;
  _free = place + iSize;
  _left -= padding + iSize;
  return place;
}

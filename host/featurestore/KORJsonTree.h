#pragma once
// The JSON text of a document as a read-only tree that the loader walks.
//
// A document of a few thousand features holds a hundred thousand values; the
// general JSON library spends most of a load allocating them one by one and
// lexing character by character. This tree keeps its nodes in one array,
// the children of each container side by side, and strings as views of the
// text they were read from.
//
// Parse first tries a quick reader that takes the plain form the document
// writer produces (ASCII strings without escapes, integers of up to 18
// digits, reals in range, nesting within KORJsonMaxDepth) and declines
// anything else, saying nothing. The full parser then reads what the quick
// one declined and, for a text that is not JSON, gives the message with the
// byte where it breaks. Both build the same tree for the same text: a
// member named twice keeps its first place and its last value.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class KORJsonKind : std::uint8_t {
  Null,
  Boolean,
  Signed,
  Unsigned,
  Real,
  String,
  Array,
  Object
};

// A document holds tens of thousands of nodes: the number of a node and the
// place of its children share their memory, read by the node's kind.
struct KORJsonNode {
  KORJsonKind kind = KORJsonKind::Null;
  bool boolean = false;
  union {
    std::int64_t signedNumber = 0; // Signed (a negative integer)
    std::uint64_t unsignedNumber;  // Unsigned (an integer from 0)
    double real;                   // Real (a number with a fraction or exponent)
  };
  std::string_view text; // String
  std::string_view key;  // the member's name, inside an object
  union {
    const KORJsonNode* children = nullptr; // Array and Object, count of them
    std::size_t firstChild; // while building: where the children are in the tree
  };
  std::size_t count = 0;

  bool IsNumber() const {
    return kind == KORJsonKind::Signed || kind == KORJsonKind::Unsigned ||
           kind == KORJsonKind::Real;
  }
  // Any number as a double (integers converted).
  double Number() const;
  // The general library's name of the kind ("object", "number", ...), used
  // in the loader's messages.
  const char* TypeName() const;
  // Member iName of an object, or null.
  const KORJsonNode* Find(std::string_view iName) const;
  const KORJsonNode& operator[](std::size_t iIndex) const { return children[iIndex]; }
  const KORJsonNode* begin() const { return children; }
  const KORJsonNode* end() const { return children + count; }
};

// Same kind, value, key and children, all the way down.
bool KORSameJson(const KORJsonNode& iA, const KORJsonNode& iB);

class KORJsonTree {
public:
  KORJsonTree() = default;
  KORJsonTree(const KORJsonTree&) = delete;
  KORJsonTree& operator=(const KORJsonTree&) = delete;

  // The quick reader, then the full parser; on failure oError says what is
  // wrong and where. iText must outlive the tree.
  bool Parse(std::string_view iText, std::string& oError);
  // The quick reader alone: false for anything it does not take.
  bool ParsePlain(std::string_view iText);
  // The full parser alone (after the nesting check).
  bool ParseChecked(std::string_view iText, std::string& oError);

  // After a successful parse.
  const KORJsonNode& Root() const { return _nodes.back(); }

  // Building, in document order (the parsers' part). The calls made for
  // every value are written here, where the parsers can inline them.
  void Clear();
  void SetKey(std::string_view iKey) {
    _key = iKey;
    if (_opened.empty())
      return;
    const std::uint64_t bit = std::uint64_t{1} << KeyHash(iKey);
    OpenContainer& open = _opened.back();
    if ((open.keyBits & bit) != 0 && !open.repeated)
      open.repeated = IsKeyOfOpenObject(iKey);
    open.keyBits |= bit;
  }
  void Add(const KORJsonNode& iValue) {
    KORJsonNode& added = _pending.emplace_back(iValue);
    added.key = std::exchange(_key, {});
  }
  void Open(KORJsonKind iKind) {
    KORJsonNode container;
    container.kind = iKind;
    Add(container);
    _opened.push_back({_pending.size()});
  }
  void Close();
  void Finish();
  // A copy of iText that lives as long as the tree.
  std::string_view Keep(std::string iText);

private:
  // 0 to 63, from the length and the ends of iKey.
  static unsigned KeyHash(std::string_view iKey) {
    if (iKey.empty())
      return 0;
    return static_cast<unsigned>(iKey.size() + static_cast<unsigned char>(iKey.front()) * 5u +
                                 static_cast<unsigned char>(iKey.back()) * 3u) %
           64;
  }
  bool IsKeyOfOpenObject(std::string_view iKey) const;
  void MergeRepeatedMembers(std::size_t iFirst);

  std::vector<KORJsonNode> _nodes;   // children of each container together
  std::vector<KORJsonNode> _pending; // values of the containers still open
  struct OpenContainer {
    std::size_t firstChild; // where its children start in _pending
    // A bit for each of its keys, by a hash of the key: only a key whose
    // bit is set already may be a repeat, and is looked for.
    std::uint64_t keyBits = 0;
    bool repeated = false; // some member is named twice: merge on closing

  };
  std::vector<OpenContainer> _opened;
  std::deque<std::string> _kept;
  std::string_view _key;
};

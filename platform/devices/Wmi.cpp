#include "platform/devices/Wmi.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/rtl/StrUtils.h"

namespace {

// The properties each class offers, in the order its text shows them.
const std::map<String, std::vector<String>>& Schema() {
  static const std::map<String, std::vector<String>> schema = {
      {u"WIN32_PNPENTITY",
       {u"Caption", u"Description", u"DeviceID", u"Manufacturer", u"Name", u"PNPDeviceID", u"Service", u"Status"}},
      {u"WIN32_DISKDRIVE",
       {u"Caption", u"DeviceID", u"Index", u"InterfaceType", u"MediaType", u"Model", u"PNPDeviceID", u"SerialNumber",
        u"Size"}},
      {u"WIN32_DISKPARTITION", {u"Caption", u"DeviceID", u"DiskIndex", u"Index", u"Size"}},
      {u"WIN32_LOGICALDISK",
       {u"Caption", u"DeviceID", u"DriveType", u"FileSystem", u"FreeSpace", u"Size", u"VolumeName",
        u"VolumeSerialNumber"}},
      {u"WIN32_DISKDRIVETODISKPARTITION", {}},
      {u"WIN32_LOGICALDISKTOPARTITION", {}},
  };
  return schema;
}

const std::vector<String>* ClassProperties(StringView cls) {
  auto it = Schema().find(UpperCase(String(cls)));
  return it == Schema().end() ? nullptr : &it->second;
}

bool IsPropertyOf(StringView cls, StringView name) {
  const auto* props = ClassProperties(cls);
  if (props == nullptr) return false;
  for (const auto& p : *props)
    if (SameText(p, name)) return true;
  return false;
}

Char Fold(Char c) { return (c >= u'a' && c <= u'z') ? Char(c - 32) : c; }

// --- LIKE matching (iterative with one back-track point per '%', so bounded) ---

// Matches one pattern element at p against c; advances p past it. Answers
// false when the element is malformed.
bool MatchOne(StringView pat, size_t& p, Char c, bool& ok) {
  ok = true;
  if (pat[p] == u'_') {
    ++p;
    return true;
  }
  if (pat[p] == u'[') {
    size_t q = p + 1;
    bool negate = q < pat.size() && pat[q] == u'^';
    if (negate) ++q;
    bool hit = false;
    bool first = true;
    while (q < pat.size() && (pat[q] != u']' || first)) {
      first = false;
      Char lo = Fold(pat[q]);
      if (q + 2 < pat.size() && pat[q + 1] == u'-' && pat[q + 2] != u']') {
        Char hi = Fold(pat[q + 2]);
        if (Fold(c) >= lo && Fold(c) <= hi) hit = true;
        q += 3;
      } else {
        if (Fold(c) == lo) hit = true;
        ++q;
      }
    }
    if (q >= pat.size()) {
      ok = false;
      return false;
    }
    p = q + 1;
    return hit != negate;
  }
  bool eq = Fold(pat[p]) == Fold(c);
  ++p;
  return eq;
}

bool LikeMatch(StringView text, StringView pat) {
  size_t t = 0, p = 0;
  std::optional<size_t> starP, starT;
  while (t < text.size()) {
    if (p < pat.size() && pat[p] == u'%') {
      starP = ++p;
      starT = t;
      continue;
    }
    if (p < pat.size()) {
      size_t np = p;
      bool ok = true;
      if (MatchOne(pat, np, text[t], ok)) {
        p = np;
        ++t;
        continue;
      }
      if (!ok) return false;
    }
    if (!starP) return false;
    p = *starP;
    t = ++*starT;
  }
  while (p < pat.size() && pat[p] == u'%') ++p;
  return p == pat.size();
}

// A set that opens must close ("[]]" holds a "]").
bool LikePatternValid(StringView pat) {
  for (size_t p = 0; p < pat.size(); ++p) {
    if (pat[p] != u'[') continue;
    size_t q = p + 1;
    if (q < pat.size() && pat[q] == u'^') ++q;
    if (q < pat.size()) ++q;
    while (q < pat.size() && pat[q] != u']') ++q;
    if (q >= pat.size()) return false;
    p = q;
  }
  return true;
}

// --- tokens ---

enum class Tok { End, Ident, Str, Num, Sym };

struct Token {
  Tok Kind = Tok::End;
  String Text;  // identifiers as written, strings unescaped, symbols as written
};

class Lexer {
 public:
  explicit Lexer(StringView s) : S(s) {}
  bool Next(Token& t) {
    while (I < S.size() && (S[I] == u' ' || S[I] == u'\t' || S[I] == u'\r' || S[I] == u'\n')) ++I;
    t = Token{};
    if (I >= S.size()) return true;
    Char c = S[I];
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_') {
      size_t b = I;
      while (I < S.size() && ((S[I] >= u'A' && S[I] <= u'Z') || (S[I] >= u'a' && S[I] <= u'z') ||
                              (S[I] >= u'0' && S[I] <= u'9') || S[I] == u'_'))
        ++I;
      t.Kind = Tok::Ident;
      t.Text = String(S.substr(b, I - b));
      return true;
    }
    if (c >= u'0' && c <= u'9') {
      size_t b = I;
      while (I < S.size() && S[I] >= u'0' && S[I] <= u'9') ++I;
      t.Kind = Tok::Num;
      t.Text = String(S.substr(b, I - b));
      return true;
    }
    if (c == u'"' || c == u'\'') {
      ++I;
      while (I < S.size() && S[I] != c) {
        if (S[I] == u'\\') {
          if (++I >= S.size()) return false;
        }
        t.Text += S[I++];
      }
      if (I >= S.size()) return false;
      ++I;
      t.Kind = Tok::Str;
      return true;
    }
    static const StringView two[] = {u"<>", u"!=", u"<=", u">="};
    for (auto sym : two)
      if (S.substr(I, 2) == sym) {
        t.Kind = Tok::Sym;
        t.Text = String(sym);
        I += 2;
        return true;
      }
    if (String(u"(),=<>{}.*").find(c) != String::npos) {
      t.Kind = Tok::Sym;
      t.Text = String(1, c);
      ++I;
      return true;
    }
    return false;
  }

 private:
  StringView S;
  size_t I = 0;
};

// --- conditions ---

struct Cond {
  enum Kind { Or, And, Not, Cmp } K = Cmp;
  std::unique_ptr<Cond> L, R;
  String Prop, Op, Literal;
};

class Parser {
 public:
  Parser(StringView q, String cls) : Lx(q), Class(std::move(cls)) {}
  bool Init() { return Advance(); }
  bool Advance() { return Lx.Next(T); }
  bool IsKeyword(StringView k) const { return T.Kind == Tok::Ident && SameText(T.Text, k); }
  bool IsSym(StringView s) const { return T.Kind == Tok::Sym && T.Text == s; }

  std::unique_ptr<Cond> ParseOr() {
    auto l = ParseAnd();
    while (l && IsKeyword(u"OR")) {
      if (!Advance()) return nullptr;
      auto r = ParseAnd();
      if (!r) return nullptr;
      auto n = std::make_unique<Cond>();
      n->K = Cond::Or;
      n->L = std::move(l);
      n->R = std::move(r);
      l = std::move(n);
    }
    return l;
  }
  std::unique_ptr<Cond> ParseAnd() {
    auto l = ParseNot();
    while (l && IsKeyword(u"AND")) {
      if (!Advance()) return nullptr;
      auto r = ParseNot();
      if (!r) return nullptr;
      auto n = std::make_unique<Cond>();
      n->K = Cond::And;
      n->L = std::move(l);
      n->R = std::move(r);
      l = std::move(n);
    }
    return l;
  }
  std::unique_ptr<Cond> ParseNot() {
    if (++Depth > 64) return nullptr;  // hostile nesting stays bounded
    std::unique_ptr<Cond> res;
    if (IsKeyword(u"NOT")) {
      if (!Advance()) return nullptr;
      auto inner = ParseNot();
      if (inner) {
        res = std::make_unique<Cond>();
        res->K = Cond::Not;
        res->L = std::move(inner);
      }
    } else if (IsSym(u"(")) {
      if (!Advance()) return nullptr;
      res = ParseOr();
      if (!res || !IsSym(u")") || !Advance()) res = nullptr;
    } else {
      res = ParseCmp();
    }
    --Depth;
    return res;
  }
  std::unique_ptr<Cond> ParseCmp() {
    if (T.Kind != Tok::Ident || !IsPropertyOf(Class, T.Text)) return nullptr;
    auto n = std::make_unique<Cond>();
    n->Prop = T.Text;
    if (!Advance()) return nullptr;
    if (IsKeyword(u"LIKE")) {
      n->Op = u"LIKE";
    } else if (IsSym(u"=") || IsSym(u"<>") || IsSym(u"!=")) {
      n->Op = T.Text == u"!=" ? u"<>" : T.Text;
    } else {
      return nullptr;
    }
    if (!Advance()) return nullptr;
    if (T.Kind != Tok::Str && T.Kind != Tok::Num) return nullptr;
    n->Literal = T.Text;
    if (n->Op == u"LIKE" && !LikePatternValid(n->Literal)) return nullptr;
    if (!Advance()) return nullptr;
    return n;
  }

  Lexer Lx;
  Token T;
  String Class;
  int Depth = 0;
};

bool Eval(const Cond& c, const TWmiObject& o) {
  switch (c.K) {
    case Cond::Or: return Eval(*c.L, o) || Eval(*c.R, o);
    case Cond::And: return Eval(*c.L, o) && Eval(*c.R, o);
    case Cond::Not: return !Eval(*c.L, o);
    case Cond::Cmp: break;
  }
  const TWmiProperty* p = o.Find(c.Prop);
  if (p == nullptr) return false;  // null compares false either way
  if (c.Op == u"LIKE") return LikeMatch(p->Value, c.Literal);
  bool eq = SameText(p->Value, c.Literal);
  return c.Op == u"=" ? eq : !eq;
}

std::mutex gSourceLock;
TWmiObjectSource gSource;

std::vector<TWmiObject> Objects() {
  TWmiObjectSource src;
  {
    std::lock_guard<std::mutex> lock(gSourceLock);
    src = gSource;
  }
  return src ? src() : WmiDeviceObjects();
}

bool RunSelect(Parser& ps, std::vector<String>& out) {
  // SELECT already consumed.
  std::vector<String> names;
  bool all = false;
  if (ps.IsSym(u"*")) {
    all = true;
    if (!ps.Advance()) return false;
  } else {
    for (;;) {
      if (ps.T.Kind != Tok::Ident) return false;
      names.push_back(ps.T.Text);
      if (!ps.Advance()) return false;
      if (!ps.IsSym(u",")) break;
      if (!ps.Advance()) return false;
    }
  }
  if (!ps.IsKeyword(u"FROM") || !ps.Advance() || ps.T.Kind != Tok::Ident) return false;
  String cls = ps.T.Text;
  if (ClassProperties(cls) == nullptr) return false;
  for (const auto& n : names)
    if (!IsPropertyOf(cls, n)) return false;
  ps.Class = cls;
  if (!ps.Advance()) return false;
  std::unique_ptr<Cond> where;
  if (ps.IsKeyword(u"WHERE")) {
    if (!ps.Advance()) return false;
    where = ps.ParseOr();
    if (!where) return false;
  }
  if (ps.T.Kind != Tok::End) return false;
  for (const auto& o : Objects()) {
    if (!SameText(o.Class, cls)) continue;
    if (where && !Eval(*where, o)) continue;
    out.push_back(WmiObjectText(o, all ? nullptr : &names));
  }
  return true;
}

bool RunAssociators(Parser& ps, std::vector<String>& out) {
  // ASSOCIATORS already consumed.
  if (!ps.IsKeyword(u"OF") || !ps.Advance() || !ps.IsSym(u"{") || !ps.Advance()) return false;
  if (ps.T.Kind != Tok::Ident) return false;
  String cls = ps.T.Text;
  if (ClassProperties(cls) == nullptr) return false;
  if (!ps.Advance() || !ps.IsSym(u".") || !ps.Advance() || ps.T.Kind != Tok::Ident ||
      !SameText(ps.T.Text, u"DeviceID"))
    return false;
  if (!ps.Advance() || !ps.IsSym(u"=") || !ps.Advance() || ps.T.Kind != Tok::Str) return false;
  String id = ps.T.Text;
  if (!ps.Advance() || !ps.IsSym(u"}") || !ps.Advance()) return false;
  String assoc;
  if (ps.IsKeyword(u"WHERE")) {
    if (!ps.Advance() || !ps.IsKeyword(u"AssocClass") || !ps.Advance() || !ps.IsSym(u"=") || !ps.Advance() ||
        ps.T.Kind != Tok::Ident)
      return false;
    assoc = ps.T.Text;
    if (ClassProperties(assoc) == nullptr || !ps.Advance()) return false;
  }
  if (ps.T.Kind != Tok::End) return false;
  auto all = Objects();
  for (const auto& o : all) {
    if (!SameText(o.Class, cls)) continue;
    const TWmiProperty* key = o.Find(u"DeviceID");
    if (key == nullptr || !SameText(key->Value, id)) continue;
    for (const auto& link : o.Links) {
      if (!assoc.empty() && !SameText(link.AssocClass, assoc)) continue;
      for (const auto& t : all) {
        if (!SameText(t.Class, link.TargetClass)) continue;
        const TWmiProperty* tk = t.Find(u"DeviceID");
        if (tk != nullptr && SameText(tk->Value, link.TargetDeviceID)) out.push_back(WmiObjectText(t));
      }
    }
    break;
  }
  return true;
}

}  // namespace

const TWmiProperty* TWmiObject::Find(StringView Name) const {
  for (const auto& p : Properties)
    if (SameText(p.Name, Name)) return &p;
  return nullptr;
}

bool WmiExecQuery(StringView Query, std::vector<String>& Texts) {
  Parser ps(Query, String());
  if (!ps.Init()) return false;
  std::vector<String> out;
  bool ok = false;
  if (ps.IsKeyword(u"SELECT")) {
    ok = ps.Advance() && RunSelect(ps, out);
  } else if (ps.IsKeyword(u"ASSOCIATORS")) {
    ok = ps.Advance() && RunAssociators(ps, out);
  }
  if (!ok) return false;
  Texts.insert(Texts.end(), out.begin(), out.end());
  return true;
}

String WmiObjectText(const TWmiObject& Object, const std::vector<String>* Selected) {
  String s = u"\ninstance of " + Object.Class + u"\n{\n";
  for (const auto& p : Object.Properties) {
    if (Selected != nullptr) {
      bool wanted = false;
      for (const auto& n : *Selected)
        if (SameText(n, p.Name)) wanted = true;
      if (!wanted) continue;
    }
    s += u"\t" + p.Name + u" = \"" + WqlEscape(p.Value) + u"\";\n";
  }
  s += u"};\n";
  return s;
}

String WqlEscape(StringView Text) {
  String s;
  for (Char c : Text) {
    if (c == u'\\' || c == u'"') s += u'\\';
    s += c;
  }
  return s;
}

String WqlLikeEscape(StringView Text) {
  String s;
  for (Char c : Text) {
    if (c == u'%' || c == u'_' || c == u'[') {
      s += u'[';
      s += c;
      s += u']';
    } else {
      if (c == u'\\' || c == u'"') s += u'\\';
      s += c;
    }
  }
  return s;
}

void SetWmiObjectSource(TWmiObjectSource Source) {
  std::lock_guard<std::mutex> lock(gSourceLock);
  gSource = std::move(Source);
}

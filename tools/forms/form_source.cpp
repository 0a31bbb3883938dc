#include "tools/forms/form_source.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>

#include "core/cp1252.h"
#include "core/files.h"

namespace fondaris::tools {

using documents::FdfField;
using documents::FdfFieldKind;
using documents::FdfFile;
using documents::FdfVariant;

std::optional<std::vector<std::string>> readSourceLines(const std::string& path) {
  const auto bytes = core::readFileBytes(path);
  if (!bytes) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream in(*bytes);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<FormJob> formJobs(const std::vector<std::string>& paramLines) {
  struct Kind {
    const char* key;
    const char* source;
    std::set<std::string> tags;
    std::vector<FdfFile> files;
    FdfVariant variant;
  };
  // An application form also carries the single payment mandate: VVEZ fills it when no form of
  // its own is named.
  static const std::vector<Kind> kKinds = {
      {"applicationFormVl", "antrag.txt", {"vl"}, {FdfFile::VVSpar, FdfFile::VVEZ}, FdfVariant::Vl},
      {"applicationFormZiel",
       "antrag.txt",
       {"ziel"},
       {FdfFile::VVSpar, FdfFile::VVEZ},
       FdfVariant::Ziel},
      {"applicationFormBoth",
       "antrag.txt",
       {"vl"},
       {FdfFile::VVSpar, FdfFile::VVEZ},
       FdfVariant::Vl},
      {"protectionForm", "schutz.txt", {}, {FdfFile::VVBuSpar}, FdfVariant::Both},
      {"formVvez", "einzug.txt", {}, {FdfFile::VVEZ}, FdfVariant::Both},
      {"formVvzuebVl", "uebertrag.txt", {"zueb", "vl"}, {FdfFile::VVZUEB}, FdfVariant::Vl},
      {"formVvzuebZiel", "uebertrag.txt", {"zueb", "ziel"}, {FdfFile::VVZUEB}, FdfVariant::Ziel},
      {"formVvzuebeeg", "uebertrag.txt", {"eeg"}, {FdfFile::VVZUEBEEG}, FdfVariant::Both},
      {"formVvzuebeaVl", "uebertrag.txt", {"ea", "vl"}, {FdfFile::VVZUEBEA}, FdfVariant::Vl},
      {"formVvzuebeaZiel", "uebertrag.txt", {"ea", "ziel"}, {FdfFile::VVZUEBEA}, FdfVariant::Ziel},
  };
  static const std::regex kLine(R"(^\s*(\w+)\s*=\s*\"([^\"]*)\")");
  std::map<std::string, std::string> values;
  for (const std::string& line : paramLines) {
    std::smatch m;
    if (std::regex_search(line, m, kLine)) values[m[1].str()] = m[2].str();
  }
  std::vector<FormJob> jobs;
  for (const Kind& kind : kKinds) {
    const std::string& name = values[kind.key];
    if (name.empty()) continue;
    auto same = std::find_if(jobs.begin(), jobs.end(),
                             [&name](const FormJob& job) { return job.fileName == name; });
    if (same == jobs.end()) {
      jobs.push_back({name, kind.source, kind.tags, kind.files, kind.variant});
      continue;
    }
    // One form named for both variants carries the fields of both.
    same->tags.insert(kind.tags.begin(), kind.tags.end());
    for (FdfFile file : kind.files)
      if (std::find(same->files.begin(), same->files.end(), file) == same->files.end())
        same->files.push_back(file);
    if (same->variant != kind.variant) same->variant = FdfVariant::Both;
  }
  return jobs;
}

namespace {

constexpr double kPageWidth = 595, kPageHeight = 842;
constexpr double kLeft = 40, kRight = 555, kTop = 40, kBottom = 780;
constexpr double kColumn = (kRight - kLeft) / 12;

// Helvetica advance widths of printable ASCII; other characters count as 556.
constexpr short kHelvetica[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};

double textWidth(const std::string& cp1252, double size, bool bold = false) {
  double units = 0;
  for (char ch : cp1252) {
    const auto b = static_cast<unsigned char>(ch);
    units += (b >= 32 && b < 127) ? kHelvetica[b - 32] : 556;
  }
  return units * size / 1000.0 * (bold ? 1.08 : 1.0);
}

std::string pdfString(const std::string& cp1252) {
  std::string out = "(";
  for (char ch : cp1252) {
    if (ch == '\\' || ch == '(' || ch == ')') out.push_back('\\');
    out.push_back(ch);
  }
  return out + ")";
}

std::string num(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return buffer;
}

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> splitBar(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const auto bar = line.find('|', start);
    parts.push_back(trim(line.substr(start, bar - start)));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return parts;
}

// Words of a text wrapped to lines no wider than `width`.
std::vector<std::string> wrap(const std::string& cp1252, double size, double width) {
  std::vector<std::string> lines;
  std::string line, word;
  auto flushWord = [&] {
    if (word.empty()) return;
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && textWidth(candidate, size) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
    word.clear();
  };
  for (char ch : cp1252) {
    if (ch == ' ')
      flushWord();
    else
      word.push_back(ch);
  }
  flushWord();
  if (!line.empty()) lines.push_back(line);
  return lines;
}

struct Widget {
  std::string field;
  FdfFieldKind kind;
  std::string exportValue;  // choices only
  std::string label;
  std::size_t page;
  double x1, y1, x2, y2;  // PDF coordinates
};

class Layout {
 public:
  explicit Layout(std::string fileName) : fileName_(std::move(fileName)) {}

  void title(const std::string& utf8) { title_ = core::utf8ToCp1252(utf8); }

  void page(const std::string& caption) {
    endRow();
    pages_.emplace_back();
    y_ = kTop;
    heading(title_, 14, true);
    y_ += 6;
    if (!caption.empty()) heading(core::utf8ToCp1252(caption), 9, false);
    y_ += 8;
  }

  void section(const std::string& utf8) {
    endRow();
    ensureRoom(40);
    const double top = y_ + 4;
    rect(kLeft, top, kRight - kLeft, 14, "0.82 0.87 0.94 rg", true);
    text(kLeft + 4, top + 10, core::utf8ToCp1252(utf8), 9, true, "0.08 0.16 0.35 rg");
    y_ = top + 18;
  }

  void textField(const std::string& field, int columns, const std::string& label) {
    const Cell cell = place(columns, 24);
    caption(cell, label);
    const double top = cell.y + 9;
    rect(cell.x, top, cell.w, 15, "0.94 0.96 1 rg", true);
    rect(cell.x, top, cell.w, 15, "0.55 0.6 0.7 RG 0.5 w", false);
    widgets_.push_back({field, FdfFieldKind::Text, "", label, pages_.size() - 1, cell.x + 1,
                        kPageHeight - top - 15, cell.x + cell.w - 1, kPageHeight - top});
  }

  void choice(const std::string& field, int columns, const std::string& label,
              const std::vector<std::pair<std::string, std::string>>& options) {
    // The options' lines decide the height, so lay them out before placing the cell.
    const double width = columns * kColumn - 4;
    struct Spot {
      double dx, dy;
    };
    std::vector<Spot> spots;
    double dx = 0, dy = 9;
    for (const auto& [value, text] : options) {
      const double w = 13 + textWidth(core::utf8ToCp1252(text), 7.5) + 9;
      if (dx > 0 && dx + w > width) dx = 0, dy += 12;
      spots.push_back({dx, dy});
      dx += w;
    }
    const Cell cell = place(columns, dy + 13);
    caption(cell, label);
    for (std::size_t i = 0; i < options.size(); ++i) {
      const double bx = cell.x + spots[i].dx, by = cell.y + spots[i].dy + 1.5;
      rect(bx, by, 9, 9, "1 1 1 rg", true);
      rect(bx, by, 9, 9, "0.3 0.35 0.45 RG 0.6 w", false);
      text(bx + 12.5, by + 7.5, core::utf8ToCp1252(options[i].second), 7.5, false, "0 g");
      widgets_.push_back({field, FdfFieldKind::Choice, options[i].first, label, pages_.size() - 1,
                          bx, kPageHeight - by - 9, bx + 9, kPageHeight - by});
    }
  }

  void note(int columns, const std::string& utf8) {
    const double width = columns * kColumn - 4;
    const auto lines = wrap(core::utf8ToCp1252(utf8), 7, width);
    const Cell cell = place(columns, 9.0 * double(lines.size()) + 2);
    for (std::size_t i = 0; i < lines.size(); ++i)
      text(cell.x, cell.y + 7 + 9.0 * double(i), lines[i], 7, false, "0.25 g");
  }

  void signature(int columns, const std::string& label) {
    const Cell cell = place(columns, 34);
    content() += "0.2 G 0.6 w " + num(cell.x) + " " + num(kPageHeight - cell.y - 22) + " m " +
                 num(cell.x + cell.w) + " " + num(kPageHeight - cell.y - 22) + " l S\n";
    text(cell.x, cell.y + 30, core::utf8ToCp1252(label), 6.5, false, "0.35 g");
  }

  void endRow() {
    if (rowHeight_ > 0) y_ += rowHeight_ + 5;
    column_ = 0;
    rowHeight_ = 0;
  }

  // Page footers, then every page's content; answers the pages' content streams.
  std::vector<std::string> finish() {
    endRow();
    const std::size_t count = pages_.size();
    for (std::size_t i = 0; i < count; ++i) {
      std::string& c = pages_[i];
      c += "0.75 0.1 0.1 rg BT /F2 7.5 Tf " + num(kLeft) + " 24 Td " +
           pdfString(core::utf8ToCp1252(
               "MUSTERFORMULAR \xE2\x80\x93 Beispiel der Angebotssoftware, kein gültiger Antrag")) +
           " Tj ET\n";
      const std::string right = core::utf8ToCp1252(
          fileName_ + " \xC2\xB7 Seite " + std::to_string(i + 1) + " von " + std::to_string(count));
      c += "0.35 g BT /F1 7 Tf " + num(kRight - textWidth(right, 7)) + " 24 Td " +
           pdfString(right) + " Tj ET\n";
    }
    return pages_;
  }

  const std::vector<Widget>& widgets() const { return widgets_; }

 private:
  struct Cell {
    double x, y, w;
  };

  std::string& content() { return pages_.back(); }

  void ensureRoom(double height) {
    if (pages_.empty() || y_ + height > kBottom) page(pages_.empty() ? "" : "(Fortsetzung)");
  }

  Cell place(int columns, double height) {
    columns = std::clamp(columns, 1, 12);
    if (column_ + columns > 12) endRow();
    if (column_ == 0) ensureRoom(height);
    const Cell cell{kLeft + column_ * kColumn, y_, columns * kColumn - 4};
    column_ += columns;
    rowHeight_ = std::max(rowHeight_, height);
    return cell;
  }

  void caption(const Cell& cell, const std::string& label) {
    text(cell.x, cell.y + 6.5, core::utf8ToCp1252(label), 6.5, false, "0.3 g");
  }

  void heading(const std::string& cp1252, double size, bool bold) {
    text(kLeft, y_ + size, cp1252, size, bold, bold ? "0.08 0.16 0.35 rg" : "0.2 g");
    y_ += size + 4;
  }

  // `distance` is the baseline's distance from the page top.
  void text(double x, double distance, const std::string& cp1252, double size, bool bold,
            const std::string& color) {
    content() += color + " BT /" + std::string(bold ? "F2 " : "F1 ") + num(size) + " Tf " + num(x) +
                 " " + num(kPageHeight - distance) + " Td " + pdfString(cp1252) + " Tj ET\n";
  }

  void rect(double x, double distanceTop, double w, double h, const std::string& paint, bool fill) {
    content() += "q " + paint + " " + num(x) + " " + num(kPageHeight - distanceTop - h) + " " +
                 num(w) + " " + num(h) + " re " + (fill ? "f" : "S") + " Q\n";
  }

  std::string fileName_;
  std::string title_;
  std::vector<std::string> pages_;
  std::vector<Widget> widgets_;
  double y_ = kTop;
  int column_ = 0;
  double rowHeight_ = 0;
};

bool appliesTo(std::string& line, const FormJob& job) {
  if (line.empty() || line[0] != '[') return true;
  const auto close = line.find(']');
  if (close == std::string::npos) return true;
  const auto tags = line.substr(1, close - 1);
  line = trim(line.substr(close + 1));
  std::size_t start = 0;
  while (start <= tags.size()) {
    const auto comma = tags.find(',', start);
    if (job.tags.count(trim(tags.substr(start, comma - start)))) return true;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return false;
}

// Every field and export value the forms-data files put into this form must exist, and every
// field of the form must be filled by one of them.
std::string checkFields(const std::vector<Widget>& widgets, const FormJob& job) {
  std::map<std::string, std::pair<FdfFieldKind, std::set<std::string>>> carried;
  for (const Widget& w : widgets) {
    auto& entry =
        carried.emplace(w.field, std::make_pair(w.kind, std::set<std::string>{})).first->second;
    if (entry.first != w.kind) return "field " + w.field + " is both text and choice";
    if (w.kind == FdfFieldKind::Choice && !entry.second.insert(w.exportValue).second)
      return "field " + w.field + " offers " + w.exportValue + " twice";
  }
  std::set<std::string> filled;
  for (FdfFile file : job.files) {
    for (const FdfField& field : documents::fdfFields(file, job.variant)) {
      const std::string name(field.name);
      filled.insert(name);
      const auto found = carried.find(name);
      if (found == carried.end())
        return "missing field " + name + " of " + std::string(documents::fdfFileName(file));
      if (found->second.first != field.kind) return "field " + name + " has the wrong kind";
      for (const std::string& value : documents::fdfExportValues(field))
        if (!found->second.second.count(value))
          return "field " + name + " lacks the export value " + value;
    }
  }
  for (const auto& [name, kind] : carried)
    if (!filled.count(name)) return "field " + name + " is filled by no forms-data file";
  return {};
}

QPDFObjectHandle dictionary(const std::string& text) {
  return QPDFObjectHandle::parse(text);
}

QPDFObjectHandle rectangle(const Widget& w) {
  return dictionary("[" + num(w.x1) + " " + num(w.y1) + " " + num(w.x2) + " " + num(w.y2) + "]");
}

std::string writePdf(const std::vector<std::string>& pages, const std::vector<Widget>& widgets,
                     const std::string& title, const std::string& outputPath) {
  QPDF pdf;
  pdf.emptyPDF();
  const auto helvetica = pdf.makeIndirectObject(dictionary(
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
  const auto bold = pdf.makeIndirectObject(dictionary(
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>"));
  QPDFPageDocumentHelper pageHelper(pdf);
  for (const std::string& content : pages) {
    auto page = pdf.makeIndirectObject(dictionary(
        "<< /Type /Page /MediaBox [0 0 " + num(kPageWidth) + " " + num(kPageHeight) + "] >>"));
    auto fonts = QPDFObjectHandle::newDictionary();
    fonts.replaceKey("/F1", helvetica);
    fonts.replaceKey("/F2", bold);
    auto resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", fonts);
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, content));
    pageHelper.addPage(QPDFPageObjectHelper(page), false);
  }
  const auto pageObjects = pdf.getAllPages();

  // A ticked box shows a cross; the box itself is part of the page.
  auto appearance = [&pdf](const std::string& data) {
    auto stream = QPDFObjectHandle::newStream(&pdf, data);
    stream.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    stream.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    stream.getDict().replaceKey("/BBox", dictionary("[0 0 9 9]"));
    return stream;
  };
  const auto on = appearance("q 0 0 0.55 RG 1.3 w 1.8 1.8 m 7.2 7.2 l S 1.8 7.2 m 7.2 1.8 l S Q\n");
  const auto off = appearance("");

  std::map<std::string, QPDFObjectHandle> fields;
  std::map<std::string, int> optionCount;
  for (const Widget& w : widgets) ++optionCount[w.field];
  auto acroFields = QPDFObjectHandle::newArray();
  for (const Widget& w : widgets) {
    auto found = fields.find(w.field);
    if (found == fields.end()) {
      auto field = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
      field.replaceKey("/T", QPDFObjectHandle::newUnicodeString(w.field));
      field.replaceKey("/TU", QPDFObjectHandle::newUnicodeString(w.label));
      if (w.kind == FdfFieldKind::Text) {
        field.replaceKey("/FT", QPDFObjectHandle::newName("/Tx"));
        field.replaceKey("/DA", QPDFObjectHandle::newString("/Helv 9 Tf 0 0 0.55 rg"));
      } else {
        field.replaceKey("/FT", QPDFObjectHandle::newName("/Btn"));
        // Several boxes form a radio group; a single box is a check box.
        field.replaceKey("/Ff", QPDFObjectHandle::newInteger(optionCount[w.field] > 1 ? 49152 : 0));
        field.replaceKey("/V", QPDFObjectHandle::newName("/Off"));
      }
      field.replaceKey("/Kids", QPDFObjectHandle::newArray());
      acroFields.appendItem(field);
      found = fields.emplace(w.field, field).first;
    }
    auto widget = pdf.makeIndirectObject(
        dictionary("<< /Type /Annot /Subtype /Widget /F 4 /MK << /BC [] >> >>"));
    widget.replaceKey("/Rect", rectangle(w));
    widget.replaceKey("/P", pageObjects.at(w.page));
    widget.replaceKey("/Parent", found->second);
    if (w.kind == FdfFieldKind::Choice) {
      auto normal = QPDFObjectHandle::newDictionary();
      normal.replaceKey("/" + w.exportValue, on);
      normal.replaceKey("/Off", off);
      auto ap = QPDFObjectHandle::newDictionary();
      ap.replaceKey("/N", normal);
      widget.replaceKey("/AP", ap);
      widget.replaceKey("/AS", QPDFObjectHandle::newName("/Off"));
    }
    found->second.getKey("/Kids").appendItem(widget);
    auto page = pageObjects.at(w.page);
    if (!page.hasKey("/Annots")) page.replaceKey("/Annots", QPDFObjectHandle::newArray());
    page.getKey("/Annots").appendItem(widget);
  }
  auto formFonts = QPDFObjectHandle::newDictionary();
  formFonts.replaceKey("/Helv", helvetica);
  auto formResources = QPDFObjectHandle::newDictionary();
  formResources.replaceKey("/Font", formFonts);
  auto acroForm = QPDFObjectHandle::newDictionary();
  acroForm.replaceKey("/Fields", acroFields);
  acroForm.replaceKey("/DR", formResources);
  acroForm.replaceKey("/DA", QPDFObjectHandle::newString("/Helv 9 Tf 0 g"));
  pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(acroForm));
  auto info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
  info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(title));
  info.replaceKey("/Creator", QPDFObjectHandle::newUnicodeString("fondaris-forms"));
  pdf.getTrailer().replaceKey("/Info", info);

  QPDFWriter writer(pdf);
  writer.setOutputMemory();
  writer.setDeterministicID(true);
  writer.write();
  const auto buffer = writer.getBufferSharedPointer();
  const std::string bytes(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
  return core::writeFileAtomically(outputPath, bytes) ? std::string()
                                                      : "cannot write " + outputPath;
}

}  // namespace

std::string buildForm(const std::vector<std::string>& sourceLines, const FormJob& job,
                      const std::string& outputPath) {
  Layout layout(job.fileName);
  std::string title;
  int lineNumber = 0;
  for (std::string line : sourceLines) {
    ++lineNumber;
    line = trim(line);
    if (line.empty() || line[0] == '#' || !appliesTo(line, job)) continue;
    const auto parts = splitBar(line);
    const std::string& command = parts[0];
    const std::string where = job.source + ":" + std::to_string(lineNumber) + ": ";
    auto columns = [&](std::size_t at) {
      try {
        return std::stoi(parts.at(at));
      } catch (const std::exception&) {
        return -1;
      }
    };
    if (command == "title" && parts.size() == 2) {
      title = parts[1];
      layout.title(title);
    } else if (command == "page") {
      layout.page(parts.size() > 1 ? parts[1] : std::string());
    } else if (command == "section" && parts.size() == 2) {
      layout.section(parts[1]);
    } else if (command == "text" && parts.size() == 4 && columns(2) > 0) {
      layout.textField(parts[1], columns(2), parts[3]);
    } else if (command == "choice" && parts.size() >= 5 && columns(2) > 0) {
      std::vector<std::pair<std::string, std::string>> options;
      for (std::size_t i = 4; i < parts.size(); ++i) {
        const auto eq = parts[i].find('=');
        if (eq == std::string::npos || eq == 0) return where + "expected <export>=<caption>";
        options.emplace_back(parts[i].substr(0, eq), parts[i].substr(eq + 1));
      }
      layout.choice(parts[1], columns(2), parts[3], options);
    } else if (command == "note" && parts.size() == 3 && columns(1) > 0) {
      layout.note(columns(1), parts[2]);
    } else if (command == "sign" && parts.size() == 3 && columns(1) > 0) {
      layout.signature(columns(1), parts[2]);
    } else if (command == "row") {
      layout.endRow();
    } else {
      return where + "cannot read: " + line;
    }
  }
  const auto pages = layout.finish();
  if (pages.empty()) return job.source + ": no page";
  if (std::string error = checkFields(layout.widgets(), job); !error.empty())
    return job.source + ": " + error;
  try {
    return writePdf(pages, layout.widgets(), title, outputPath);
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace fondaris::tools

// pack_error.h: the one error type of the builder. Every failure while
// reading or writing a project names the file and, where it is known, the
// line and column: it prints as "path: message" or "path:line:col: message".
#pragma once

#include <stdexcept>
#include <string>

class PackError : public std::runtime_error {
 public:
  PackError(std::string path, std::string message, int line = 0, int column = 0)
      : std::runtime_error(Format(path, message, line, column)),
        path_(std::move(path)), message_(std::move(message)),
        line_(line), column_(column) {}

  const std::string& Path() const { return path_; }
  const std::string& Message() const { return message_; }
  int Line() const { return line_; }
  int Column() const { return column_; }

  static std::string Format(const std::string& path, const std::string& message,
                            int line, int column) {
    if (line > 0)
      return path + ":" + std::to_string(line) + ":" + std::to_string(column) +
             ": " + message;
    return path + ": " + message;
  }

 private:
  std::string path_;
  std::string message_;
  int line_;
  int column_;
};

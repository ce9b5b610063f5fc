#pragma once
// Error classes of the run-time layer.  Every error the grid or the image builders raise
// derives from Exception and carries the text the user finally sees in the error box.
#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toStdString()) {}
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    std::string FUtf8;
};

// A text that is not a number, a date that does not exist ...
class EConvertError : public Exception { using Exception::Exception; };
// A file that cannot be read or written.
class EInOutError : public Exception { using Exception::Exception; };
// An index outside a list.
class EListError : public Exception { using Exception::Exception; };

#pragma once

#include "PrinterSdk.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// Logs every call with its arguments and bytes, and answers with scripted results.
class RecordingPrinterSdk : public PrinterSdk
{
public:
    std::int32_t POS_Open(const std::string& name, std::int32_t baudRate, std::int32_t dataBits,
                          std::int32_t stopBits, std::int32_t parity,
                          std::int32_t openMode) override
    {
        std::string call = "POS_Open(" + name;
        // Appended, not "," + a temporary, which GCC 12 takes for an overlapping copy.
        for (std::int32_t number : {baudRate, dataBits, stopBits, parity, openMode})
            call.append(",").append(std::to_string(number));
        return record(call + ")", openResult);
    }
    std::int32_t POS_StartDoc() override { return record("POS_StartDoc()", startDocResult); }
    std::int32_t POS_WriteFile(std::int32_t handle, const char* data, std::int32_t count) override
    {
        written.emplace_back(data, std::size_t(count));
        return record(std::string("POS_WriteFile(").append(std::to_string(handle)) + "," +
                          hex(written.back()) + ")",
                      writeResult == AnswerTheCount ? count : writeResult);
    }
    std::int32_t POS_EndDoc() override { return record("POS_EndDoc()", endDocResult); }
    std::int32_t POS_Close() override { return record("POS_Close()", closeResult); }
    // Hands out the scripted answers in turn, as much of each as fits; an empty one, or none
    // left, is a read whose bound passed.
    std::int32_t POS_ReadFile(std::int32_t, char* buffer, std::int32_t capacity,
                              std::int32_t) override
    {
        if (answers.empty())
            return 0;
        std::string& next = answers.front();
        const std::size_t taken = std::min(next.size(), std::size_t(capacity));
        next.copy(buffer, taken);
        next.erase(0, taken);
        if (next.empty())
            answers.erase(answers.begin());
        return std::int32_t(taken);
    }
    std::string lastFailure() const override { return failure; }

    // "1B 40" for the bytes 1B 40.
    static std::string hex(const std::string& bytes)
    {
        std::string text;
        for (unsigned char byte : bytes) {
            char two[4];
            std::snprintf(two, sizeof two, "%02X", byte);
            text.append(text.empty() ? "" : " ").append(two);
        }
        return text;
    }

    static constexpr std::int32_t AnswerTheCount = -2;
    // One line per call, such as "POS_Open(COM3,19200,8,0,0,1)" or "POS_WriteFile(7,1B 40)".
    std::vector<std::string> calls;
    std::vector<std::string> written;
    std::vector<std::string> answers; // what the printer sends back, one read at a time
    std::int32_t openResult = 7, startDocResult = 1, writeResult = AnswerTheCount, endDocResult = 1,
                 closeResult = 1;
    std::string failure = "scripted failure";

private:
    std::int32_t record(const std::string& call, std::int32_t result)
    {
        calls.push_back(call);
        return result;
    }
};

#include "VirtualPrinterOutput.h"

void VirtualPrinterOutput::document(const QByteArray& bytes, const QString& from)
{
    ++documents_;
    out_ << "document " << documents_ << " from " << from << ", " << bytes.size() << " bytes\n";
    for (const QString& line : decoder_.decode(bytes))
        out_ << "  " << line << '\n';
    out_ << decoder_.settings().describe() << '\n';
    out_.flush();
}

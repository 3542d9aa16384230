#include "platform/CTextLineReader.h"

bool CTextLineReader::ReadLine(std::string& piece)
{
    piece.clear();
    while (m_nPos < m_contents.size() && piece.size() < kMaxPiece) {
        const char c = m_contents[m_nPos++];
        if (c == '\r' && m_nPos < m_contents.size() && m_contents[m_nPos] == '\n')
            continue; // text mode: CR LF reads as LF
        piece += c;
        if (c == '\n')
            break;
    }
    return !piece.empty();
}

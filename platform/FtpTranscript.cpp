#include "platform/FtpTranscript.h"

#include <array>

namespace ostrel {

namespace {

struct TReplyOutcome {
    std::string_view code;
    TFtpOutcome outcome;
};

// Replies that end the upload's hope. Syntax replies (500 to 504) are left
// out: the client meets them while it probes what the server supports, and
// goes on.
constexpr std::array kFailingReplies{
    TReplyOutcome{"421", TFtpOutcome::NotConnected},  TReplyOutcome{"425", TFtpOutcome::NotConnected},
    TReplyOutcome{"426", TFtpOutcome::NotConnected},  TReplyOutcome{"450", TFtpOutcome::RemoteRefused},
    TReplyOutcome{"451", TFtpOutcome::RemoteRefused}, TReplyOutcome{"452", TFtpOutcome::RemoteRefused},
    TReplyOutcome{"530", TFtpOutcome::LoginRefused},  TReplyOutcome{"532", TFtpOutcome::LoginRefused},
    TReplyOutcome{"550", TFtpOutcome::RemoteRefused}, TReplyOutcome{"551", TFtpOutcome::RemoteRefused},
    TReplyOutcome{"552", TFtpOutcome::RemoteRefused}, TReplyOutcome{"553", TFtpOutcome::RemoteRefused},
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A reply line: three digits, then a blank or (a continued reply) a hyphen.
bool IsReply(std::string_view line, std::string_view code)
{
    return line.size() >= 4 && StartsWith(line, code) && (line[3] == ' ' || line[3] == '-');
}

TFtpOutcome ClassifyClientMessage(std::string_view line)
{
    if (StartsWith(line, "Not connected."))
        return TFtpOutcome::NotConnected;
    if (StartsWith(line, "ftp: Can't connect") || StartsWith(line, "ftp: Can't lookup") ||
        StartsWith(line, "ftp: connect"))
        return TFtpOutcome::NotConnected;
    if (StartsWith(line, "ftp: Can't") || StartsWith(line, "Can't"))
        return TFtpOutcome::LocalFailure;
    return TFtpOutcome::Pending;
}

// The client's question for a password or an account has no line end of
// its own, so the server's reply to the answer follows it on the same line.
std::string_view WithoutPrompt(std::string_view line)
{
    for (const std::string_view prompt : {std::string_view("Password:"), std::string_view("Account:")}) {
        if (StartsWith(line, prompt)) {
            line.remove_prefix(prompt.size());
            while (!line.empty() && line.front() == ' ')
                line.remove_prefix(1);
        }
    }
    return line;
}

}  // namespace

TFtpOutcome ClassifyFtpLine(std::string_view line)
{
    line = WithoutPrompt(line);
    if (IsReply(line, "226"))
        return TFtpOutcome::Transferred;
    for (const TReplyOutcome& reply : kFailingReplies)
        if (IsReply(line, reply.code))
            return reply.outcome;
    return ClassifyClientMessage(line);
}

void TFtpTranscript::Feed(std::string_view output)
{
    for (const char c : output) {
        if (c == '\n') {
            ReadLine(partial_);
            partial_.clear();
        } else if (c != '\r') {
            partial_ += c;
        }
    }
}

void TFtpTranscript::Finish()
{
    if (!partial_.empty()) {
        ReadLine(partial_);
        partial_.clear();
    }
    if (outcome_ == TFtpOutcome::Pending)
        outcome_ = TFtpOutcome::NoConfirmation;
}

void TFtpTranscript::ReadLine(std::string_view line)
{
    if (outcome_ != TFtpOutcome::Pending)
        return;
    // The client names the files before it sends; after that, some servers
    // confirm the transfer with 250, which earlier only confirms the folder.
    if (StartsWith(line, "local: "))
        sending_ = true;
    TFtpOutcome outcome = ClassifyFtpLine(line);
    if (sending_ && IsReply(line, "250"))
        outcome = TFtpOutcome::Transferred;
    if (outcome != TFtpOutcome::Pending) {
        outcome_ = outcome;
        decidingLine_ = WithoutPrompt(line);
    }
}

}  // namespace ostrel

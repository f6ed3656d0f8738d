// The programming interface's request path on any bytes, line by line as a
// client sends them: whatever JSON the parser takes, written again it reads back
// the same; and every line gets exactly one reply, a JSON object that says ok
// or not and carries the request's id when it had a proper one. A token is
// required first when the input begins with a space, so both ways in are walked.
#include "fuzz_input.h"

#include "remote/dispatcher.h"
#include "support/fake_console.h"

namespace {

class NoOutbox final : public remote::Outbox {
public:
    void toClient(remote::ClientId, const remote::Json &) override {}
    void toSubscribers(remote::Topic, const remote::Json &) override {}
    bool anySubscribed(remote::Topic) const override { return false; }
    void driverChanged() override {}
};

void checkReadsBack(const remote::Json &value)
{
    const remote::JsonParse again = remote::parseJson(remote::formatJson(value));
    fuzz::expect(again.value && *again.value == value, "written JSON reads back the same");
}

void checkReply(std::string_view line, const std::string &reply)
{
    const remote::JsonParse parsed = remote::parseJson(reply);
    fuzz::expect(parsed.value && parsed.value->type() == remote::Json::Type::Object, "a reply is an object");
    const remote::Json *ok = parsed.value->find("ok");
    fuzz::expect(ok && ok->type() == remote::Json::Type::Bool, "a reply says ok");
    fuzz::expect(ok->asBool() || parsed.value->find("message"), "a refusal says why");
    const remote::JsonParse request = remote::parseJson(line);
    const remote::Json *id = request.value ? request.value->find("id") : nullptr;
    if (id && (id->isInteger() || id->type() == remote::Json::Type::String))
        fuzz::expect(*parsed.value->find("id") == *id, "a reply carries its request's id");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text = fuzz::wholeInput(data, size);
    if (const remote::JsonParse whole = remote::parseJson(text); whole.value)
        checkReadsBack(*whole.value);
    FakeConsole console;
    NoOutbox outbox;
    remote::Millis now = 0;
    remote::Dispatcher dispatcher(console, outbox, [&now] { return now += 100; });
    dispatcher.setToken("geheim");
    remote::Session session;
    session.tokenRequired = size > 0 && data[0] == ' ';
    while (!text.empty() && !session.closing) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        checkReply(line, dispatcher.handleLine(session, line));
        dispatcher.checkLease();
    }
    return 0;
}

#include "pages/DescribeError.h"

juce::String describeError (const std::exception_ptr& error)
{
    if (error == nullptr)
        return {};

    try
    {
        std::rethrow_exception (error);
    }
    catch (const std::exception& e)
    {
        return juce::String::fromUTF8 (e.what());
    }
    catch (...)
    {
        return juce::translate ("Unknown error");
    }
}

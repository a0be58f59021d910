#pragma once
// A submission's status. Each value is the number stored in Submission.Status; a stored
// number outside the four converts as it is and matches none of them.

enum class SubmissionStatus { Unreturned = 0, Rejected = 1, Accepted = 2, Published = 3 };

// The four, in stored order.
inline constexpr SubmissionStatus kSubmissionStatuses[] = {SubmissionStatus::Unreturned, SubmissionStatus::Rejected,
                                                           SubmissionStatus::Accepted, SubmissionStatus::Published};

constexpr bool isKnownStatus(SubmissionStatus status)
{
    return status >= SubmissionStatus::Unreturned && status <= SubmissionStatus::Published;
}

// Accepted or Published: the work was taken.
constexpr bool isAcceptance(SubmissionStatus status)
{
    return status == SubmissionStatus::Accepted || status == SubmissionStatus::Published;
}

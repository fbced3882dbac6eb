#pragma once

#include <functional>
#include <string>

namespace korvex {

// Shows the collection's messages. The window shows them as sheets; the
// answer only matters for the "do not show again" box, which the presenter
// reports through the callback.
class CollectionAlertPresenter {
  public:
    virtual ~CollectionAlertPresenter() = default;
    // One "OK" button; with `suppressible` also the check box, whose ticked
    // state reaches `suppressed`.
    virtual void showCollectionAlert(const std::string& message, const std::string& informative,
                                     bool suppressible,
                                     std::function<void(bool suppressed)> answer) = 0;
};

// The alerts the user may silence, each under its settings key.
struct SuppressibleAlert {
    const char* key;
    const char* message;
    const char* informative;  // a format with "%@" for each quoted name
};

inline constexpr SuppressibleAlert kAlertFileIsInCollection{
    "suppressAlertFileIsInCol", "Cannot add the item to the Selected list",
    "The item \"%@\" has already been added to the Selected list."};
inline constexpr SuppressibleAlert kAlertParentIsInCollection{
    "suppressAlertParentIsInCol", "Cannot add the item to the Selected list",
    "The parent folder \"%@\" of the \"%@\" item has already been added to the Selected list."};
inline constexpr SuppressibleAlert kAlertRemovedChildrenInCollection{
    "suppressAlertRemovedChildrenIsInCol", "Avoid duplication in the Selected list",
    "The folder \"%@\" contains files already added to the Selected list. These files will be "
    "cleaned from the Selected list to avoid duplication."};

// Set once the user chose not to be told again that an operation still runs.
inline constexpr const char* kSuppressProcessingAlertKey = "suppressAlertIsProcessing";

// Every key the collection's alerts are silenced under, so that they can all
// be shown again.
inline constexpr const char* kCollectionSuppressionKeys[] = {
    kAlertFileIsInCollection.key, kAlertParentIsInCollection.key,
    kAlertRemovedChildrenInCollection.key, kSuppressProcessingAlertKey};

// Shows `alert` unless its key is set, and sets the key when the user ticks
// the box. Without a presenter nothing is shown.
void showSuppressibleAlert(CollectionAlertPresenter* presenter, const SuppressibleAlert& alert,
                           const std::string& informative);

}  // namespace korvex
